// A movable disc bounces off a fixed one (a wall or a base).
#include <cmath>

#include "physics/collisions.h"
#include "physics/contact_geometry.h"

namespace zelkar {

void kabesyoutotu(GameState& s) {
  const contact::Axis axis = contact::axisOfCentres(s);
  const double cc = axis.cc, ss = axis.ss, cs = axis.cs;

  const double vx = s.colVx1;
  const double vy = s.colVy1;
  const float e = s.colCoef;
  // The rebound products are single-precision values before they are used.
  const double evxNeg = static_cast<float>(-e * vx);
  const double evy = static_cast<float>(e * vy);

  const double vx2 = cc * evxNeg - cs * evy + ss * vx - cs * vy;
  const double vy2 = cs * evxNeg - ss * evy - cs * vx + cc * vy;

  s.colVy1 = static_cast<float>(vy2);
  s.colVx1 = static_cast<float>(vx2);
}

}  // namespace zelkar
