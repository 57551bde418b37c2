#include "sim/shells.h"

#include <cmath>

#include "arena/rounding.h"
#include "audio/sound.h"
#include "physics/collisions.h"
#include "sim/armour_rules.h"
#include "sim/collision_block.h"
#include "sim/colour_codes.h"
#include "sim/instruments.h"
#include "sim/round_end.h"

namespace zelkar {

namespace {

constexpr int16_t kBlastShrink = 3;         // px a blast loses each tick
constexpr float kProbeOffset = 1.5f;        // px from the shell's corner towards its centre
constexpr float kShellPushVehicle = 0.2f;   // of the explosive energy pushing a vehicle
constexpr float kShellPushObstacle = 0.5f;  // pushing an obstacle

void burst(Game& g, int p, int k) {
  g.s.shellState[p][k] = g.s.blastStart[p];
  g.screen.houdan[8 * p + k].visible = false;
}

// Body 1 of houdansyoutotu: the shell's corner and velocity.
void loadShell1(GameState& s, int p, int k) {
  s.colX1 = s.shellX[p][k], s.colY1 = s.shellY[p][k];
  s.colVx1 = s.shellVX[p][k], s.colVy1 = s.shellVY[p][k];
}

bool insideField(const GameState& s, float x, float y) {
  return x >= 0 && x <= s.fieldWidth - s.shellSize && y >= 0 && y <= s.fieldHeight - s.shellSize;
}

void playBlast(Game& g, int p, int k) {
  GameState& s = g.s;
  Item& blast = g.screen.tamabaku[8 * p + k];
  int16_t size = s.shellState[p][k];
  const int16_t h = toInt16Clamped(size / 2.0);
  if (size == s.blastStart[p]) {
    blast.visible = true;
    // The blast keeps the strength it is first drawn with, even if it
    // freezes while its owner goes back to set-up and chooses anew.
    if (s.blastDrawnStart[p][k] == 0) {
      s.blastDrawnStart[p][k] = size;
      s.blastDrawnMass[p][k] = s.setting[p][4];
    }
  }
  blast.move(toInt16Clamped(double(s.shellX[p][k]) + s.shellHalf - h),
             toInt16Clamped(double(s.shellY[p][k]) + s.shellHalf - h), size, size);
  size = static_cast<int16_t>(size - kBlastShrink);
  if (size < 2) {
    blast.visible = false;
    emptyShellSlot(s, p, k);
  } else {
    s.shellState[p][k] = size;
  }
}

// A shell of p, moving at speed2 (px/s squared), struck vehicle q.
// Returns false when the match has ended.
bool strikeVehicle(Game& g, int p, int k, float speed2) {
  GameState& s = g.s;
  const int q = 1 - p;
  s.armourLeft[q] =
      static_cast<float>(s.armourLeft[q] - shellStrikeEnergy(s.setting[p][4], double(speed2)));
  if (s.armourLeft[q] < 0) {
    destroyVehicle(g, q);
    if (g.awaitingAnswer) return false;
  } else {
    loadShell1(s, p, k);
    loadVehicle2(s, q);
    s.colCoef = kShellPushVehicle;
    houdansyoutotu(s, p);
    s.shellX[p][k] = s.colX1;  // the shell rests where it touched
    s.shellY[p][k] = s.colY1;
    s.lastContact[q] = static_cast<int16_t>(8 * p + k);
    readvance(s.posX[q], s.posY[q], s.velX[q], s.velY[q], s.colX2, s.colY2, s.colVx2, s.colVy2);
    g.screen.kyara[q].move(toInt16Clamped(s.posX[q]), toInt16Clamped(s.posY[q]));
    s.prevX[q] = s.posX[q];
    s.prevY[q] = s.posY[q];
  }
  damageReadout(g, q);
  return true;
}

void pushObstacle(Game& g, int p, int k, int t) {
  GameState& s = g.s;
  loadShell1(s, p, k);
  loadObstacle2(s, t);
  s.colCoef = kShellPushObstacle;
  houdansyoutotu(s, p);
  s.shellX[p][k] = s.colX1;
  s.shellY[p][k] = s.colY1;
  s.obstLastContact[t] = static_cast<int16_t>(8 * p + k);
  readvance(s.obstX[t], s.obstY[t], s.obstVX[t], s.obstVY[t], s.colX2, s.colY2, s.colVx2, s.colVy2);
  g.screen.tiri[t].move(toInt16Clamped(s.obstX[t]), toInt16Clamped(s.obstY[t]));
  s.obstPrevX[t] = s.obstX[t];
  s.obstPrevY[t] = s.obstY[t];
}

// The shell (p, k), moving at speed2 (px/s squared), has met the colour c.
// Returns false when the match ended.
bool hit(Game& g, int p, int k, int32_t c, float speed2) {
  GameState& s = g.s;
  const int q = 1 - p;
  burst(g, p, k);
  playShellBurstSound(g);
  // Head-on with one of q's shells: that one bursts too.
  if (shellColourBase(c) == s.shellColorBase[q]) {
    const int other = c & 7;
    s.shellState[q][other] = s.blastStart[q];
    g.screen.houdan[8 * q + other].visible = false;
  }
  // The distance to q's centre: x kept in double, y rounded to single.
  const double dx = double(s.shellX[p][k]) + s.shellHalf - s.posX[q] - s.vehicleRadius;
  const float dy =
      static_cast<float>(double(s.shellY[p][k]) + s.shellHalf - s.posY[q] - s.vehicleRadius);
  const int reach = s.shellHalf + s.vehicleRadius + 3;  // px: 3 px margin around the disc
  if (dx * dx + double(dy) * dy < reach * reach) {
    if (!strikeVehicle(g, p, k, speed2)) return false;
  }
  const int16_t t = colourCode(c);
  if (t <= s.lastObstacle) pushObstacle(g, p, k, t);
  return true;
}

}  // namespace

void shellStateLoop(Game& g, int p) {
  GameState& s = g.s;
  s.freeShellSlot[p] = s.noShellSlot;
  for (int k = 0; k < kShellSlots; ++k) {
    const int16_t state = s.shellState[p][k];
    if (state == 0) {
      s.freeShellSlot[p] = static_cast<int16_t>(k);  // the highest free slot wins
    } else if (state == 1) {
      s.shellX[p][k] = static_cast<float>(s.shellX[p][k] + double(s.shellVX[p][k]) * kTickSeconds);
      s.shellY[p][k] = static_cast<float>(s.shellY[p][k] + double(s.shellVY[p][k]) * kTickSeconds);
      if (!insideField(s, s.shellX[p][k], s.shellY[p][k])) {
        burst(g, p, k);
        playShellBurstSound(g);
      }
    } else {
      playBlast(g, p, k);
    }
  }
}

void shellHitLoop(Game& g, int p) {
  GameState& s = g.s;
  for (int k = 0; k < kShellSlots; ++k) {
    if (s.shellState[p][k] != 1) continue;
    const float speed2 = static_cast<float>(double(s.shellVX[p][k]) * s.shellVX[p][k] +
                                            double(s.shellVY[p][k]) * s.shellVY[p][k]);
    const float speed = static_cast<float>(std::sqrt(double(speed2)));
    // A shell at rest has no front to look past: it sees nothing.
    if (speed != 0) {
      const double r = kProbeOffset;
      const int x = toInt16Clamped(s.shellX[p][k] + r + s.shellVX[p][k] / double(speed) * (r + 1));
      const int y = toInt16Clamped(s.shellY[p][k] + r + s.shellVY[p][k] / double(speed) * (r + 1));
      const int32_t c = g.probe.getPixel(g.screen.pictures, x, y) & kRgbMask;
      const bool own = shellColourBase(c) == s.shellColorBase[p];
      if (!own && !isFreeForShell(c) && !hit(g, p, k, c, speed2)) return;
    }
    g.screen.houdan[8 * p + k].move(toInt16Clamped(s.shellX[p][k]), toInt16Clamped(s.shellY[p][k]));
    s.shellPrevX[p][k] = s.shellX[p][k];
    s.shellPrevY[p][k] = s.shellY[p][k];
  }
}

}  // namespace zelkar
