#include "cpu/sight.h"

#include <algorithm>
#include <cmath>

#include "cpu/steering.h"
#include "sim/colour_codes.h"

namespace zelkar::cpu {

namespace {

constexpr int kSpots = 16;           // spots round the target, evenly spread
constexpr float kStepPx = 3;         // px between the pixels read along a line
constexpr float kEdgeRoomPx = 40;    // spots stay this far inside the arena's edges
constexpr float kBlockedCost = 600;  // px of driving worth a clear line
constexpr float kWallRoomPx = 30;    // a spot closer than this to a wall's edge...
constexpr float kCrampedCost = 200;  // ...costs as much as this much driving
constexpr float kKeepBonus = 80;     // px: the spot already chosen needs no new decision

float length(Vec v) { return std::sqrt(dot(v, v)); }

}  // namespace

bool lineIsClear(const GameState& s, const PixelReader& probe, Vec from, Vec to, float clearPx) {
  const Vec d = to - from;
  const float n = length(d);
  if (n <= 2 * clearPx) return true;
  const Vec step = d * (kStepPx / n);
  const int steps = static_cast<int>((n - 2 * clearPx) / kStepPx);
  Vec at = from + d * (clearPx / n);
  for (int i = 0; i <= steps; ++i, at = at + step) {
    const int32_t c =
        probe.getPixel(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y))) &
        kRgbMask;
    if (isFreeForShell(c)) continue;
    if (shellColourBase(c) == s.shellColorBase[0] || shellColourBase(c) == s.shellColorBase[1])
      continue;
    return false;
  }
  return true;
}

Vec spotAt(const GameState& s, int p, float range, int index) {
  const double angle = index * (2 * 3.14159265358979 / kSpots);
  const Vec target = centreOf(s, 1 - p);
  return {target.x + range * static_cast<float>(std::cos(angle)),
          target.y + range * static_cast<float>(std::sin(angle))};
}

int chooseSpot(const GameState& s, const PixelReader& probe, int p, float range, int keep,
               Vec& spot) {
  const Vec me = centreOf(s, p), target = centreOf(s, 1 - p);
  int best = -1;
  float bestCost = 0;
  for (int i = 0; i < kSpots; ++i) {
    const Vec at = spotAt(s, p, range, i);
    if (at.x < kEdgeRoomPx || at.y < kEdgeRoomPx || at.x > s.fieldWidth - kEdgeRoomPx ||
        at.y > s.fieldHeight - kEdgeRoomPx)
      continue;
    float cost = length(at - me);
    if (!lineIsClear(s, probe, at, target, 14)) cost += kBlockedCost;
    for (int w = 0; w <= s.lastWall && w < kWalls; ++w) {
      const Vec c{float(s.kabeLeft[w] + s.kabeHalf[w]), float(s.kabeTop[w] + s.kabeHalf[w])};
      if (length(at - c) < s.kabeHalf[w] * kSquareCorner + s.vehicleRadius + kWallRoomPx) {
        cost += kCrampedCost;
        break;
      }
    }
    if (i == keep) cost -= kKeepBonus;
    if (best < 0 || cost < bestCost) {
      best = i;
      bestCost = cost;
    }
  }
  if (best >= 0) spot = spotAt(s, p, range, best);
  return best;
}

}  // namespace zelkar::cpu
