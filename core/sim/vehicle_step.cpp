#include "sim/vehicle_step.h"

#include <cmath>

#include "arena/rounding.h"
#include "sim/round_end.h"
#include "sim/setup_adjust.h"

namespace zelkar {

namespace {
constexpr double kEngineToAccel = 1000;  // kN to N: engine output over mass gives px/s^2
constexpr int16_t kEdgeMargin = 4;       // px kept between a vehicle and the arena's edge
constexpr double kDt = kTickSeconds;     // the single-precision step, widened
}  // namespace

void burnFuel(Game& g, int p, Drive& d) {
  GameState& s = g.s;
  const int16_t thrusting = static_cast<int16_t>(toInt16Clamped(std::fabs(s.thrustX[p])) |
                                                 toInt16Clamped(std::fabs(s.thrustY[p])));
  const double candidate = s.fuelLeft[p] - double(s.fuelRate[p]) * thrusting * kDt;
  if (candidate > 0) {
    s.fuelLeft[p] = static_cast<float>(candidate);
    s.totalMass[p] =
        static_cast<float>(s.totalMass[p] - double(s.fuelRate[p]) * kFuelMass * thrusting * kDt);
    d.engineAccel = static_cast<float>(s.setting[p][1] * kEngineToAccel / s.totalMass[p]);
    s.stallTicks = 0;
  } else {
    d.engineAccel = 0;
    s.fuelLeft[p] = 0;
    stallCheck(g, p);
  }
}

void applyFriction(GameState& s, int p, Drive& d) {
  if (s.velX[p] == 0 && s.velY[p] == 0) {
    d.frictionX = 0;
    d.frictionY = 0;
    d.kineticInUse = 0;
    d.engineAccel = d.engineAccel > s.frictionCoef[0] ? d.engineAccel - s.frictionCoef[0] : 0;
    return;
  }
  const float speed =
      static_cast<float>(std::sqrt(double(s.velX[p]) * s.velX[p] + double(s.velY[p]) * s.velY[p]));
  // The speed one step of friction removes, rounded to single precision
  // before the comparison.
  const float stopBelow = static_cast<float>(s.frictionCoef[1] * kDt);
  if (stopBelow < speed) {
    d.frictionX = static_cast<float>(-double(s.velX[p]) * s.frictionCoef[1] / speed);
    d.frictionY = static_cast<float>(-double(s.velY[p]) * s.frictionCoef[1] / speed);
    d.kineticInUse = s.frictionCoef[1];
  } else {
    d.frictionX = 0;
    d.frictionY = 0;
    s.velX[p] = 0;
    s.velY[p] = 0;
    d.kineticInUse = 0;
  }
}

void accelerate(GameState& s, int p, const Drive& d) {
  float held = static_cast<float>(
      std::sqrt(double(s.thrustX[p]) * s.thrustX[p] + double(s.thrustY[p]) * s.thrustY[p]));
  if (held == 0) held = 1;  // no key: nothing to spread the thrust over
  s.velX[p] = static_cast<float>(s.velX[p] +
                                 (double(s.thrustX[p]) * d.engineAccel / held + d.frictionX) * kDt);
  s.velY[p] = static_cast<float>(s.velY[p] +
                                 (double(s.thrustY[p]) * d.engineAccel / held + d.frictionY) * kDt);
}

void moveInField(GameState& s, int p) {
  s.posX[p] = static_cast<float>(s.posX[p] + double(s.velX[p]) * kDt);
  const float maxX = s.fieldWidth - s.vehicleSize - kEdgeMargin;
  if (s.posX[p] < kEdgeMargin) s.posX[p] = kEdgeMargin, s.velX[p] = -s.velX[p];
  if (s.posX[p] > maxX) s.posX[p] = maxX, s.velX[p] = -s.velX[p];
  s.posY[p] = static_cast<float>(s.posY[p] + double(s.velY[p]) * kDt);
  const float maxY = s.fieldHeight - s.vehicleSize - kEdgeMargin;
  if (s.posY[p] < kEdgeMargin) s.posY[p] = kEdgeMargin, s.velY[p] = -s.velY[p];
  if (s.posY[p] > maxY) s.posY[p] = maxY, s.velY[p] = -s.velY[p];
}

void placeSprite(Game& g, int p) {
  GameState& s = g.s;
  Item& box = g.screen.kyara[p];
  box.visible = true;
  box.move(toInt16Clamped(s.posX[p]), toInt16Clamped(s.posY[p]));
  s.prevX[p] = s.posX[p];
  s.prevY[p] = s.posY[p];
}

void turnGun(Game& g, int p) {
  GameState& s = g.s;
  if ((s.tickPhase & 1) == 0) s.gunDir[p] = static_cast<int16_t>((s.gunDir[p] + s.turnDir[p]) & 63);
  g.screen.hline[p].x2 = s.tables().dirLineX[s.gunDir[p]];
  g.screen.hline[p].y2 = s.tables().dirLineY[s.gunDir[p]];
}

}  // namespace zelkar
