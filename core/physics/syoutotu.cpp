// Two movable discs strike each other.
#include <cmath>

#include "physics/collisions.h"
#include "physics/contact_geometry.h"

namespace zelkar {

void syoutotu(GameState& s) {
  const contact::Axis axis = contact::axisOfCentres(s);
  const double cc = axis.cc, ss = axis.ss, cs = axis.cs;

  const float m1 = s.colMass1;
  const float m2 = s.colMass2;
  const float e = s.colCoef;
  const float M = m1 + m2;
  // Two massless bodies have no momentum to share; dividing by M = 0 would
  // put NaN into both velocities and from there into the whole arena.
  if (M == 0 || !std::isfinite(M)) return;
  const float k1 = static_cast<float>(m1 - static_cast<double>(e) * m2);
  const float j1 = static_cast<float>((static_cast<double>(e) + 1) * m2);
  const float k2 = static_cast<float>(m2 - static_cast<double>(e) * m1);
  const float j2 = static_cast<float>((static_cast<double>(e) + 1) * m1);

  const double v1x = s.colVx1, v1y = s.colVy1, v2x = s.colVx2, v2y = s.colVy2;
  // Projections of each velocity on the normal, written out per axis.
  const double n1x = cc * v1x + cs * v1y, n1y = cs * v1x + ss * v1y;
  const double n2x = cc * v2x + cs * v2y, n2y = cs * v2x + ss * v2y;

  const double v1x2 = n1x * k1 / M + n2x * j1 / M + ss * v1x - cs * v1y;
  const double v1y2 = n1y * k1 / M + n2y * j1 / M - cs * v1x + cc * v1y;
  const double v2x2 = n1x * j2 / M + n2x * k2 / M + ss * v2x - cs * v2y;
  const double v2y2 = n1y * j2 / M + n2y * k2 / M - cs * v2x + cc * v2y;

  s.colVy2 = static_cast<float>(v2y2);
  s.colVx1 = static_cast<float>(v1x2);
  s.colVy1 = static_cast<float>(v1y2);
  s.colVx2 = static_cast<float>(v2x2);
}

}  // namespace zelkar
