#include "sim/round_end.h"

#include "app/match_end.h"
#include "physics/round_restart.h"
#include "sim/arena_view.h"

namespace zelkar {

namespace {
// Steps counted before a stalled round is a draw: twice the ticks, since
// both stranded players count. Without friction vehicles may still slide,
// so they get longer: 135 simulated seconds against 90.
constexpr int16_t kStallLimitSliding = 9000;
constexpr int16_t kStallLimitFriction = 6000;

void stallDraw(Game& g) {
  GameState& s = g.s;
  showScore(g, 0);
  showScore(g, 1);
  if (s.points[0] == kWinningPoints && s.points[1] == kWinningPoints) {
    again2(g);
  } else if (s.points[0] == kWinningPoints) {
    s.subjectPlayer = 0;
    again(g);
  } else if (s.points[1] == kWinningPoints) {
    s.subjectPlayer = 1;
    again(g);
  } else {
    bakuhago2(g);
    viewArena(g);  // the rest of the tick sees the restarted arena
  }
}
}  // namespace

void destroyVehicle(Game& g, int v) {
  GameState& s = g.s;
  const int w = 1 - v;
  explodeVehicle(g, v);
  showScore(g, w);
  if (s.points[w] == kWinningPoints) {
    s.subjectPlayer = static_cast<int16_t>(w);
    again(g);
  } else {
    s.subjectPlayer = static_cast<int16_t>(v);
    bakuhago(g);
    viewArena(g);  // the rest of the tick sees the restarted arena
  }
}

void stallCheck(Game& g, int p) {
  GameState& s = g.s;
  const int q = 1 - p;
  if (s.fuelLeft[q] > 0 || s.shellsLeft[0] != 0 || s.shellsLeft[1] != 0) return;
  s.stallTicks = static_cast<int16_t>(s.stallTicks + 1);
  s.stallLimit = s.frictionCoef[0] == 0 ? kStallLimitSliding : kStallLimitFriction;
  if (s.stallTicks > s.stallLimit) stallDraw(g);
}

}  // namespace zelkar
