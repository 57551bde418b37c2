// A shell strikes a body directly: wind both back to the moment their discs
// touched, then push the body away from the shell.
#include <cmath>

#include "physics/collisions.h"
#include "physics/contact_geometry.h"

namespace zelkar {

void houdansyoutotu(GameState& s, int owner) {
  const float r = s.shellHalf;  // shell radius, px
  const float R = r + s.colHalf2;

  // Work on centres; the members go back to corners below.
  s.colX1 = s.colX1 + r;
  s.colY1 = s.colY1 + r;
  s.colX2 = s.colX2 + s.colHalf2;
  s.colY2 = s.colY2 + s.colHalf2;

  // The differences are never stored, so they stay in double.
  double dx = static_cast<double>(s.colX2) - s.colX1;
  double dy = static_cast<double>(s.colY2) - s.colY1;
  const double wx = static_cast<double>(s.colVx1) - s.colVx2;  // shell relative to the body
  const double wy = static_cast<double>(s.colVy1) - s.colVy2;

  // A shell moves several pixels a step, so it is usually found inside or
  // beyond the body, or just short of it. Solve |d + tau w| = R for the
  // time tau behind now at which the discs touched.
  const double alpha = wx * wx + wy * wy;
  const float beta = static_cast<float>(2 * (wx * dx + wy * dy));
  const double gamma = dx * dx + dy * dy - static_cast<double>(R) * R;
  const double D = static_cast<double>(beta) * beta - 4 * alpha * gamma;
  if (alpha > 0 && D >= 0) {
    const double q = std::sqrt(D);
    const double tau1 = ((-beta + q) / 2) / alpha;
    const double tau2 = ((-beta - q) / 2) / alpha;  // tau2 <= tau1
    // Both behind: the shell passed through, take the moment it left the
    // disc. Otherwise tau1: the first touch of an overlapping shell, or the
    // nearer touch ahead of one that stopped just short.
    const double tau = tau2 >= 0 ? tau2 : tau1;
    s.colX1 = static_cast<float>(s.colX1 - tau * s.colVx1);
    s.colY1 = static_cast<float>(s.colY1 - tau * s.colVy1);
    s.colX2 = static_cast<float>(s.colX2 - tau * s.colVx2);
    s.colY2 = static_cast<float>(s.colY2 - tau * s.colVy2);
  }
  // alpha = 0 (no relative motion) or D < 0 (the discs never meet on these
  // lines): the push acts where the bodies are now.

  dx = static_cast<double>(s.colX2) - s.colX1;
  dy = static_cast<double>(s.colY2) - s.colY1;

  s.colX1 = s.colX1 - r;
  s.colY1 = s.colY1 - r;
  s.colX2 = s.colX2 - s.colHalf2;
  s.colY2 = s.colY2 - s.colHalf2;

  const double theta = contact::lineDirection(dx, dy);
  const double shellMass = s.setting[owner][4];
  const double pushEnergy = shellMass * s.colCoef * contact::kExplosiveEnergyPerMass;
  contact::push(theta, s.colMass2, pushEnergy, /*tangentialSingle=*/true, s.colVx2, s.colVy2);
}

}  // namespace zelkar
