// Loading the collision parameter block with the bodies of the arena, and
// the energy an impact destroys.
#pragma once

#include "app/game.h"

namespace zelkar {

inline void loadBody1(GameState& s, float x, float y, float half, float vx, float vy, float mass) {
  s.colX1 = x, s.colY1 = y, s.colHalf1 = half, s.colVx1 = vx, s.colVy1 = vy, s.colMass1 = mass;
}
inline void loadBody2(GameState& s, float x, float y, float half, float vx, float vy, float mass) {
  s.colX2 = x, s.colY2 = y, s.colHalf2 = half, s.colVx2 = vx, s.colVy2 = vy, s.colMass2 = mass;
}

inline void loadVehicle1(GameState& s, int p) {
  loadBody1(s, s.posX[p], s.posY[p], s.vehicleRadius, s.velX[p], s.velY[p], s.totalMass[p]);
}
inline void loadVehicle2(GameState& s, int p) {
  loadBody2(s, s.posX[p], s.posY[p], s.vehicleRadius, s.velX[p], s.velY[p], s.totalMass[p]);
}
inline void loadObstacle1(GameState& s, int t) {
  loadBody1(s, s.obstX[t], s.obstY[t], s.obstHalf[t], s.obstVX[t], s.obstVY[t], s.obstMass[t]);
}
inline void loadObstacle2(GameState& s, int t) {
  loadBody2(s, s.obstX[t], s.obstY[t], s.obstHalf[t], s.obstVX[t], s.obstVY[t], s.obstMass[t]);
}

// Kinetic energy a body of `mass` lost going from (vx, vy) to (wx, wy),
// in double precision.
inline double energyLoss(float mass, float vx, float vy, float wx, float wy) {
  return double(mass) * (double(vx) * vx + double(vy) * vy - double(wx) * wx - double(wy) * wy) / 2;
}

// Takes a position and velocity back from the block and advances the body
// once more along the new velocity, by one step.
inline void readvance(float& x, float& y, float& vx, float& vy, float bx, float by, float bvx,
                      float bvy) {
  x = bx, y = by, vx = bvx, vy = bvy;
  x = static_cast<float>(x + double(vx) * kTickSeconds);
  y = static_cast<float>(y + double(vy) * kTickSeconds);
}

inline constexpr double kExplosiveEnergy = 3876000;  // energy units per unit of shell mass
// A blast felt at its strongest gives 1/600 of the shell's explosive
// energy; the strength is divided by this, in that order.
inline constexpr double kBlastShareDivisor = 600;

}  // namespace zelkar
