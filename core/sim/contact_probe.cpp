#include "sim/contact_probe.h"

#include <cmath>

#include "arena/rounding.h"
#include "sim/colour_codes.h"

namespace zelkar {

namespace {

constexpr int kRingMask = kRingPoints - 1;
constexpr int16_t kProbeStep = 64;   // ring indices between probed angles: an eighth turn
constexpr int16_t kProbeSpan = 192;  // from a quarter turn left of the motion to an eighth right

void dispatch(Game& g, int p) {
  GameState& s = g.s;
  const int q = 1 - p;
  // Touching the other vehicle is that collision whatever colour was read.
  const double dx = double(s.posX[q]) - s.posX[p], dy = double(s.posY[q]) - s.posY[p];
  const int reach = s.vehicleSize + 4;
  if (dx * dx + dy * dy < reach * reach) {
    vehicleCollision(g, p);
    return;
  }
  const int16_t k = pairCode(s.probeColor1, s.probeColor2, s.shellColorBase[1]);
  s.scratchA = k;
  if (k == s.lastContact[p]) return;  // the same object is not handled twice in a row
  s.lastContact[p] = k;
  if (k >= kFirstBaseCode) {
    s.scratchB = static_cast<int16_t>(k - kFirstBaseCode);
    if (s.scratchB != p) baseContact(g, p, s.scratchB);
  } else if (k >= kFirstBlastCode) {
    s.scratchC = static_cast<int16_t>((k - kFirstBlastCode) / 8);
    s.scratchB = static_cast<int16_t>((k - kFirstBlastCode) % 8);
    if (s.scratchB < kShellSlots) explosionContact(g, p, s.scratchC, s.scratchB);
  } else if (k < kFirstWallCode) {
    // Obstacles beyond lastObstacle are not drawn; a stray code of one
    // (the right player's gun line reads as 0) must not move a stale body.
    if (k <= s.lastObstacle) obstacleContact(g, p, k);
  } else if (k <= kFirstWallCode + s.lastWall) {
    wallContact(g, p, k - kFirstWallCode);
  }
}

}  // namespace

int16_t probeDirection(float vx, float vy, float unit, int16_t quarter) {
  if (vx == 0) return static_cast<int16_t>((vy > 0) - (vy < 0)) * quarter;
  const double d = std::floor(std::atan(double(vy) / vx) / unit) - (vx < 0 ? 2 * quarter : 0);
  return toInt16Clamped(d);
}

void contactProbe(Game& g, int p) {
  GameState& s = g.s;
  s.probeFrom = probeDirection(s.velX[p], s.velY[p], s.angleUnit, 128);
  s.probeTo = static_cast<int16_t>(s.probeFrom + kProbeSpan);
  for (s.probeAngle = s.probeFrom; s.probeAngle <= s.probeTo;
       s.probeAngle = static_cast<int16_t>(s.probeAngle + kProbeStep)) {
    s.probeIndex = static_cast<int16_t>(s.probeAngle & kRingMask);
    const int e2 = (s.probeAngle + kRingPoints / 2) & kRingMask;
    s.probeColor1 = g.probe.getPixel(g.screen.pictures,
                                     toInt16Clamped(s.ringDX[s.probeIndex] + double(s.posX[p])),
                                     toInt16Clamped(s.ringDY[s.probeIndex] + double(s.posY[p]))) &
                    kRgbMask;
    s.probeColor2 =
        g.probe.getPixel(g.screen.pictures, toInt16Clamped(s.ringDX[e2] + double(s.prevX[p])),
                         toInt16Clamped(s.ringDY[e2] + double(s.prevY[p]))) &
        kRgbMask;
    s.probeMasked1 = s.probeColor1 & s.shellColorBase[1];
    s.probeMasked2 = s.probeColor2 & s.shellColorBase[1];
    if (isFreeForBody(s.probeColor1, s.shellColorBase[1]) &&
        isFreeForBody(s.probeColor2, s.shellColorBase[1])) {
      s.contactFlag = 0;
      continue;
    }
    dispatch(g, p);
    return;
  }
  s.lastContact[p] = kNoContact;
}

}  // namespace zelkar
