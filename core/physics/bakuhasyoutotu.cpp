// A spreading shell explosion pushes a body away from its centre.
#include "physics/collisions.h"
#include "physics/contact_geometry.h"

namespace zelkar {

void bakuhasyoutotu(GameState& s) {
  const float r = s.shellHalf;  // shell radius, px

  // The members end up holding the two centres; the tick does not read them.
  s.colX1 = s.colX1 + r;
  s.colY1 = s.colY1 + r;
  s.colX2 = s.colX2 + s.colHalf2;
  s.colY2 = s.colY2 + s.colHalf2;

  const float dx = s.colX2 - s.colX1;
  const float dy = s.colY2 - s.colY1;

  // No winding back: the explosion acts from where the shell came to rest.
  const double theta = contact::lineDirection(dx, dy);
  const double pushEnergy =
      static_cast<double>(s.colMass1) * s.colCoef * contact::kExplosiveEnergyPerMass;
  contact::push(theta, s.colMass2, pushEnergy, /*tangentialSingle=*/false, s.colVx2, s.colVy2);
}

}  // namespace zelkar
