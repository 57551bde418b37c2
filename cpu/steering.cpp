#include "cpu/steering.h"

#include <algorithm>
#include <cmath>

namespace zelkar::cpu {

namespace {

constexpr float kVehicleMarginPx = 24;  // ramming costs both, so keep well off the other vehicle
constexpr float kDodgeMarginPx = 10;    // shells pass this much wider than a strike

float length(Vec v) { return std::sqrt(dot(v, v)); }

Vec unit(Vec v) {
  const float n = length(v);
  return n > 0 ? v * (1.0f / n) : Vec{};
}

// When a body at `rel` moving at `relVel` (both relative to the vehicle)
// first comes within `reach` px of it; negative when it never does. Zero
// when it is within reach already.
float secondsToReach(Vec rel, Vec relVel, float reach) {
  const float c = dot(rel, rel) - reach * reach;
  if (c <= 0) return 0;
  const float a = dot(relVel, relVel), b = 2 * dot(rel, relVel);
  const float disc = b * b - 4 * a * c;
  if (a <= 0 || b >= 0 || disc < 0) return -1;
  return (-b - std::sqrt(disc)) / (2 * a);
}

// The wish away from one body at `centre` moving at `vel`, within reach when
// the centres come closer than `reach`, of which the outer `room` px are
// room kept rather than a touch. What counts is when the two touch, not
// when the centres would pass closest: head on, that moment lies a whole
// reach beyond the contact.
Vec awayFrom(Vec me, Vec myVel, Vec centre, Vec vel, float reach, float room, float horizon) {
  // Drawing apart, or both at rest, nothing can strike: pushing away from a
  // body beside it only burns fuel, and between two walls the two pushes
  // would hold the vehicle there thrusting to and fro.
  if (dot(centre - me, vel - myVel) >= 0) return {};
  const Pass pass = closestApproach(me - centre, myVel - vel);
  if (pass.distance >= reach) return {};
  const float touch = secondsToReach(centre - me, vel - myVel, reach);
  if (touch < 0 || touch > horizon) return {};
  Vec away = unit((me + myVel * pass.seconds) - (centre + vel * pass.seconds));
  if (dot(away, away) == 0) away = unit(me - centre);
  // Head on, the sideways miss is no way out: brake straight back as well.
  // A pass through the room alone needs only the sideways push, or a gap
  // between two walls would stop the vehicle before it.
  if (pass.distance < reach - room) away = unit(away + unit(myVel - vel) * -1.0f);
  if (dot(away, away) == 0) away = unit(me - centre);
  const float depth = (reach - pass.distance) / reach;  // 0..1
  const float soon = 1.0f / (1.0f + touch);
  return away * (1.0f + 2.0f * depth) * (0.5f + soon);
}

}  // namespace

float engineAccelOf(const GameState& s, int p) {
  return s.totalMass[p] > 0 ? s.setting[p][1] * 1000.0f / s.totalMass[p] : 0.0f;
}

Vec missingVelocity(const GameState& s, int p, Vec goal, float cruise) {
  const Vec me = centreOf(s, p);
  const Vec to = goal - me;
  const float dist = length(to);
  // Never faster than the engine could stop within the distance left.
  const float brake = std::sqrt(2.0f * std::max(engineAccelOf(s, p), 1.0f) * 0.5f * dist);
  const float speed = std::min({cruise, brake, 0.8f * dist});
  return unit(to) * speed - velocityOf(s, p);
}

Vec seekWish(Vec missing, float slack) {
  if (length(missing) < slack) return {};
  const Vec wish = missing * 0.5f;
  return length(wish) > 1 ? unit(wish) : wish;
}

Vec hazardWish(const GameState& s, int p, float horizon) {
  const int q = 1 - p;
  const Vec me = centreOf(s, p), v = velocityOf(s, p);
  const float r = s.vehicleRadius;
  Vec sum{};
  for (int w = 0; w <= s.lastWall && w < kWalls; ++w) {
    const Vec c{float(s.kabeLeft[w] + s.kabeHalf[w]), float(s.kabeTop[w] + s.kabeHalf[w])};
    sum = sum +
          awayFrom(me, v, c, {}, s.kabeHalf[w] * kSquareCorner + r + kMarginPx, kMarginPx, horizon);
  }
  for (int i = 0; i <= s.lastObstacle && i < kObstacles; ++i) {
    const Vec c{s.obstX[i] + s.obstHalf[i], s.obstY[i] + s.obstHalf[i]};
    sum = sum + awayFrom(me, v, c, {s.obstVX[i], s.obstVY[i]}, s.obstHalf[i] + r + kMarginPx,
                         kMarginPx, horizon);
  }
  const Vec base{float(s.kitiLeft[q] + s.kitiHalf), float(s.kitiTop[q] + s.kitiHalf)};
  sum = sum + awayFrom(me, v, base, {}, s.kitiHalf + r + kMarginPx, kMarginPx, horizon);
  sum = sum + awayFrom(me, v, centreOf(s, q), velocityOf(s, q), 2 * r + kVehicleMarginPx,
                       kVehicleMarginPx, horizon);
  return sum;
}

Vec dodgeWish(const GameState& s, int p, float lookahead) {
  if (lookahead <= 0) return {};
  const int q = 1 - p;
  const Vec me = centreOf(s, p), v = velocityOf(s, p);
  Vec sum{};
  for (int k = 0; k < kShellSlots; ++k) {
    if (s.shellState[q][k] != 1) continue;
    const Vec shell{s.shellX[q][k] + s.shellHalf, s.shellY[q][k] + s.shellHalf};
    const Vec sv{s.shellVX[q][k], s.shellVY[q][k]};
    const Pass pass = closestApproach(me - shell, v - sv);
    const float reach = kStrikePx + kDodgeMarginPx;
    if (pass.seconds > lookahead || pass.distance >= reach) continue;
    // Step off the shell's line on the side the vehicle already leans to.
    const Vec across = unit(Vec{-sv.y, sv.x});
    const Vec offset = (me + v * pass.seconds) - (shell + sv * pass.seconds);
    const float side = dot(offset, across) < 0 ? -1.0f : 1.0f;
    sum = sum + across * (side * (2.0f + 2.0f * (reach - pass.distance) / reach));
  }
  return sum;
}

bool baseIsThreatened(const GameState& s, int p, float horizon) {
  const Vec base{float(s.kitiLeft[p] + s.kitiHalf), float(s.kitiTop[p] + s.kitiHalf)};
  for (int i = 0; i <= s.lastObstacle && i < kObstacles; ++i) {
    const Vec c{s.obstX[i] + s.obstHalf[i], s.obstY[i] + s.obstHalf[i]};
    // The nearest it comes within the horizon: on the way there, or at its end.
    const Vec v{s.obstVX[i], s.obstVY[i]};
    const Pass pass = closestApproach(c - base, v);
    const Vec at = (c - base) + v * std::min(pass.seconds, horizon);
    if (length(at) < s.obstHalf[i] + s.vehicleRadius + kMarginPx) return true;
  }
  return false;
}

Thrust thrustFor(Vec wish, float dead) {
  const float n = length(wish);
  if (n < dead) return {};
  // sin 22.5 degrees: a component this large turns the thrust diagonal.
  const float edge = 0.383f * n;
  Thrust t;
  t.x = wish.x > edge ? 1 : wish.x < -edge ? -1 : 0;
  t.y = wish.y > edge ? 1 : wish.y < -edge ? -1 : 0;
  return t;
}

}  // namespace zelkar::cpu
