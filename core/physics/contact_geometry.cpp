#include "physics/contact_geometry.h"

#include <cmath>

namespace zelkar::contact {

namespace {

double sgn(double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); }

}  // namespace

double lineAxis(float dx, float dy) {
  // Straight above or below: the game's right angle, held in single precision.
  if (dx == 0) return static_cast<float>(sgn(dy) * kQuarterTurn);
  return std::atan(static_cast<double>(dy) / static_cast<double>(dx));
}

Axis axisOfCentres(const GameState& s) {
  const float c1x = s.colX1 + s.colHalf1;
  const float c1y = s.colY1 + s.colHalf1;
  const float c2x = s.colX2 + s.colHalf2;
  const float c2y = s.colY2 + s.colHalf2;
  const float dx = c2x - c1x;
  const float dy = c2y - c1y;
  const double theta = lineAxis(dx, dy);
  const double sn = std::sin(theta);
  const double co = std::cos(theta);
  return {co * co, sn * sn, co * sn};
}

double lineDirection(double dx, double dy) {
  if (dx == 0) return sgn(dy) * kQuarterTurnDouble;
  const double axis = std::atan(dy / dx);
  return dx < 0 ? axis + kHalfTurn : axis;
}

void push(double theta, float mass, double pushEnergy, bool tangentialSingle, float& vx,
          float& vy) {
  // A massless (or corrupt) body would leave with an infinite or NaN speed
  // that then spreads through every later collision; keep it as it was.
  if (!(mass > 0) || !std::isfinite(mass)) return;

  const double s = std::sin(theta);
  const double c = std::cos(theta);
  const double u = c * vx + s * vy;  // normal speed, away from the source
  double t = -s * vx + c * vy;       // tangential speed
  if (tangentialSingle) t = static_cast<float>(t);

  // g: the sense of the normal motion; a body at rest counts as moving away.
  const double g = u < 0 ? -1.0 : 1.0;
  const double energy = mass * (u * u) / 2 + g * pushEnergy;
  const double u2 = g * sgn(energy) * std::sqrt(2 * std::fabs(energy) / mass);

  vx = static_cast<float>(c * u2 - s * t);
  vy = static_cast<float>(s * u2 + c * t);
}

}  // namespace zelkar::contact
