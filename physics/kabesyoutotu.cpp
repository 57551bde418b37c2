// A movable disc bounces off a fixed one (a wall or a base).
#include <cmath>

#include "physics/collisions.h"
#include "physics/contact_geometry.h"

namespace zelkar {

void kabesyoutotu(GameState& s) {
  const float c1x = s.colX1 + s.colHalf1;
  const float c1y = s.colY1 + s.colHalf1;
  const float c2x = s.colX2 + s.colHalf2;
  const float c2y = s.colY2 + s.colHalf2;
  const float dx = c2x - c1x;
  const float dy = c2y - c1y;

  const double theta = contact::lineAxis(dx, dy);
  const double sn = std::sin(theta);
  const double co = std::cos(theta);
  const double cc = co * co;
  const double ss = sn * sn;
  const double cs = co * sn;

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
