#include "sim/contact_probe.h"

#include <cmath>

#include "arena/rounding.h"
#include "sim/colour_codes.h"

namespace zelkar {

namespace {

constexpr int kRingMask = kRingPoints - 1;
constexpr int16_t kProbeStep = 64;   // ring indices between probed angles: an eighth turn
constexpr int16_t kProbeSpan = 192;  // from a quarter turn left of the motion to an eighth right

// The probe pair (c1 at the current position, c2 at the previous one) met
// something that is not free.
void dispatch(Game& g, int p, int32_t c1, int32_t c2) {
  GameState& s = g.s;
  const int q = 1 - p;
  // Touching the other vehicle is that collision whatever colour was read.
  const double dx = double(s.posX[q]) - s.posX[p], dy = double(s.posY[q]) - s.posY[p];
  const int reach = s.vehicleSize + 4;
  if (dx * dx + dy * dy < reach * reach) {
    vehicleCollision(g, p);
    return;
  }
  const int16_t k = pairCode(c1, c2, s.shellColorBase[1]);
  if (k == s.lastContact[p]) return;  // the same object is not handled twice in a row
  s.lastContact[p] = k;
  if (k >= kFirstBaseCode) {
    const int base = k - kFirstBaseCode;
    if (base != p) baseContact(g, p, base);
  } else if (k >= kFirstBlastCode) {
    const int owner = (k - kFirstBlastCode) / 8, slot = (k - kFirstBlastCode) % 8;
    if (slot < kShellSlots) explosionContact(g, p, owner, slot);
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
  const MatchTables& t = s.tables();
  const int16_t from = probeDirection(s.velX[p], s.velY[p], t.angleUnit, 128);
  const int16_t to = static_cast<int16_t>(from + kProbeSpan);
  // The ring around where the vehicle is and around where it was.
  const OffsetRounding x(s.posX[p]), y(s.posY[p]), prevX(s.prevX[p]), prevY(s.prevY[p]);
  for (int16_t a = from; a <= to; a = static_cast<int16_t>(a + kProbeStep)) {
    const int e1 = a & kRingMask;
    const int e2 = (a + kRingPoints / 2) & kRingMask;
    const int32_t c1 =
        g.probe.getPixel(g.screen.pictures, x.at(t.ringDX[e1]), y.at(t.ringDY[e1])) & kRgbMask;
    const int32_t c2 =
        g.probe.getPixel(g.screen.pictures, prevX.at(t.ringDX[e2]), prevY.at(t.ringDY[e2])) &
        kRgbMask;
    if (isFreeForBody(c1, s.shellColorBase[1]) && isFreeForBody(c2, s.shellColorBase[1])) {
      s.contactFlag = 0;
      continue;
    }
    dispatch(g, p, c1, c2);
    return;
  }
  s.lastContact[p] = kNoContact;
}

}  // namespace zelkar
