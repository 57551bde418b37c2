#include "cpu/aim.h"

#include <cmath>

#include "input/player_actions.h"

namespace zelkar::cpu {

Vec centreOf(const GameState& s, int p) {
  return {s.posX[p] + s.vehicleRadius, s.posY[p] + s.vehicleRadius};
}

Vec velocityOf(const GameState& s, int p) { return {s.velX[p], s.velY[p]}; }

Launch launchOf(const GameState& s, int p, int gunDir, int turnDir) {
  // The firing rule's own arithmetic, so that the aim is where the shell goes.
  const ShellLaunch l = shellLaunch(s, p, gunDir, turnDir);
  return {{static_cast<float>(l.centreX), static_cast<float>(l.centreY)},
          {static_cast<float>(l.velX), static_cast<float>(l.velY)}};
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
  return static_cast<int>(((k % kDirections) + kDirections) % kDirections);
}

int turnTowards(int from, int to) {
  constexpr int kHalf = kDirections / 2;
  // -kHalf .. kHalf - 1: the shorter way round, half a turn counting as minus.
  const int diff = ((to - from) % kDirections + kDirections + kHalf) % kDirections - kHalf;
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
