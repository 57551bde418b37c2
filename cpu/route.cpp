#include "cpu/route.h"

#include <algorithm>
#include <cmath>

#include "cpu/steering.h"

namespace zelkar::cpu {

namespace {

constexpr float kPassPx = 8;     // px beyond the hazard wish's room: passing there wakes none
constexpr float kCarrotPx = 40;  // px: heads at least this far ahead, so it needn't slow down

float length(Vec v) { return std::sqrt(dot(v, v)); }

struct Disc {
  Vec centre;
  float reach = 0;  // px between the centres at which the vehicle touches it, with room
};

}  // namespace

Vec routeTowards(const GameState& s, int p, Vec goal) {
  const Vec me = centreOf(s, p);
  const Vec to = goal - me;
  const float dist = length(to);
  if (dist < 1) return goal;
  const Vec u = to * (1.0f / dist);
  const Vec across{-u.y, u.x};
  // The first fixed body whose room the straight way enters.
  Disc first;
  float firstAlong = dist;
  auto consider = [&](Vec c, float reach) {
    const Vec rel = c - me;
    const float along = dot(rel, u);
    if (along <= 0 || along >= firstAlong || std::abs(dot(rel, across)) >= reach) return;
    if (length(rel) < reach) return;  // already within its room: the hazard wish sees to it
    first = {c, reach};
    firstAlong = along;
  };
  const float r = s.vehicleRadius;
  for (int w = 0; w <= s.lastWall && w < kWalls; ++w)
    consider({float(s.kabeLeft[w] + s.kabeHalf[w]), float(s.kabeTop[w] + s.kabeHalf[w])},
             s.kabeHalf[w] * kSquareCorner + r + kMarginPx);
  const int q = 1 - p;
  consider({float(s.kitiLeft[q] + s.kitiHalf), float(s.kitiTop[q] + s.kitiHalf)},
           s.kitiHalf + r + kMarginPx);
  if (first.reach <= 0) return goal;
  // Along the tangent to the circle of passing on the side away from the
  // body: the body's side of the way decides, so the choice holds as the
  // vehicle moves (on the line itself, one fixed side).
  const Vec rel = first.centre - me;
  const float d = length(rel);
  const float pass = first.reach + kPassPx;
  const Vec w = rel * (1.0f / d);
  const float away = dot(rel, across) > 0 ? -1.0f : 1.0f;
  const Vec side = Vec{-w.y, w.x} * away;  // square to the body's direction
  if (d <= pass) return me + side * kCarrotPx;
  const float sinA = pass / d, cosA = std::sqrt(1 - sinA * sinA);
  const Vec heading = w * cosA + side * sinA;
  const float tangent = d * cosA;
  return me + heading * std::max(tangent, kCarrotPx);
}

}  // namespace zelkar::cpu
