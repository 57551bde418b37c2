#include "sim/instruments.h"

#include <cmath>

#include "arena/rounding.h"
#include "sim/number_text.h"

namespace zelkar {

namespace {

// sigonyuu digit counts: keta - 1 decimals are shown.
constexpr int16_t kTwoDecimals = 3;
constexpr int16_t kOneDecimal = 2;
constexpr int16_t kWhole = 1;

void show(Game& g, int label, double value) {
  setNumberText(g.screen.hyosuu[label].caption, value);
}

}  // namespace

void motionReadouts(Game& g, int p, const Drive& d) {
  const GameState& s = g.s;
  const float held = (s.thrustX[p] != 0 || s.thrustY[p] != 0) ? 1.0f : 0.0f;
  const float accel = (d.kineticInUse + d.engineAccel) * held;  // m/s/s
  show(g, 6 * p + 4, sigonyuu(accel, kTwoDecimals));
  show(g, 6 * p + 5, sigonyuu(s.velX[p], kOneDecimal));
  // Screen y grows downwards; the read-out counts upwards. Rounded first,
  // then negated, so halves of an upward speed round towards zero.
  show(g, 14 + p, -sigonyuu(s.velY[p], kOneDecimal));
  const double vy = s.velY[p], vx = s.velX[p];
  const float speed = static_cast<float>(std::sqrt(vy * vy + vx * vx));  // m/s
  show(g, 16 + p, sigonyuu(speed, kOneDecimal));
}

void loadReadouts(Game& g, int p) {
  const GameState& s = g.s;
  show(g, 6 * p + 1, sigonyuu(s.fuelLeft[p], kOneDecimal));
  setNumberText(g.screen.hyosuu[6 * p + 0].caption, int32_t{s.shellsLeft[p]});
  show(g, 6 * p + 3, sigonyuu(s.totalMass[p], kWhole));
}

void damageReadout(Game& g, int p) {
  const GameState& s = g.s;
  const double lost = 100.0 - double(s.armourLeft[p]) / s.armourFull[p] * 100.0;  // per cent
  show(g, 12 + p, sigonyuu(static_cast<float>(lost), kOneDecimal));
}

}  // namespace zelkar
