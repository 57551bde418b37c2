#include "cpu/aim.h"

#include <cmath>

namespace zelkar::cpu {

Vec centreOf(const GameState& s, int p) {
  return {s.posX[p] + s.vehicleRadius, s.posY[p] + s.vehicleRadius};
}

Vec velocityOf(const GameState& s, int p) { return {s.velX[p], s.velY[p]}; }

Launch launchOf(const GameState& s, int p, int gunDir, int turnDir) {
  const int d = gunDir & 63;
  // The shell's top-left corner starts 1.5 shell widths beyond the gun
  // line's end; its centre lies half a shell further on.
  const float out = 1.5f * s.shellSize;
  const Vec centre{s.tables().dirLineX[d] + s.posX[p] + s.tables().dirCos[d] * out,
                   s.tables().dirLineY[d] + s.posY[p] + s.tables().dirSin[d] * out};
  const float speed = s.muzzleSpeed[p][turnDir == 0 ? 1 : 0];
  const Vec velocity{s.tables().dirCos[d] * speed + s.velX[p] + s.tables().dirTurnX[d] * turnDir,
                     s.tables().dirSin[d] * speed + s.velY[p] + s.tables().dirTurnY[d] * turnDir};
  return {centre, velocity};
}

float interceptSeconds(Vec rel, Vec relVel, float shellSpeed) {
  // |rel + relVel t| = shellSpeed t, a quadratic a t^2 + b t + c = 0.
  const double a = dot(relVel, relVel) - double(shellSpeed) * shellSpeed;
  const double b = 2.0 * dot(rel, relVel);
  const double c = dot(rel, rel);
  if (std::abs(a) < 1e-9) return b < 0 ? static_cast<float>(-c / b) : -1.0f;
  const double disc = b * b - 4 * a * c;
  if (disc < 0) return -1.0f;
  const double root = std::sqrt(disc);
  const double t1 = (-b - root) / (2 * a), t2 = (-b + root) / (2 * a);
  const double lo = std::min(t1, t2), hi = std::max(t1, t2);
  if (lo > 0) return static_cast<float>(lo);
  if (hi > 0) return static_cast<float>(hi);
  return -1.0f;
}

int directionTowards(Vec v, float dirStep) {
  const double angle = std::atan2(double(v.y), double(v.x));
  const long k = std::lround(angle / dirStep);
  return static_cast<int>(((k % 64) + 64) % 64);
}

int turnTowards(int from, int to) {
  const int diff = ((to - from) % 64 + 96) % 64 - 32;  // -32..31
  return diff > 0 ? 1 : diff < 0 ? -1 : 0;
}

Pass closestApproach(Vec rel, Vec relVel) {
  const float vv = dot(relVel, relVel);
  float t = vv > 0 ? -dot(rel, relVel) / vv : 0.0f;
  if (t < 0) t = 0;
  const Vec at = rel + relVel * t;
  return {t, std::sqrt(dot(at, at))};
}

}  // namespace zelkar::cpu
