// The aiming arithmetic: where a shell leaves the gun, where it meets a
// moving target, and how close it passes. Positions are client pixels,
// velocities pixels per simulated second, times simulated seconds.
#pragma once

#include "app/game_state.h"

namespace zelkar::cpu {

struct Vec {
  float x = 0;
  float y = 0;
};

inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
inline Vec operator*(Vec a, float k) { return {a.x * k, a.y * k}; }
inline float dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }

// Centre and velocity of a vehicle.
Vec centreOf(const GameState& s, int p);
Vec velocityOf(const GameState& s, int p);

// The shell a press of the fire key would launch now: its centre as it
// leaves the muzzle and its velocity (muzzle speed along the gun, plus the
// vehicle's own velocity, plus the sideways throw of a turning gun).
struct Launch {
  Vec centre;
  Vec velocity;
};
Launch launchOf(const GameState& s, int p, int gunDir, int turnDir);

// The time at which a shell leaving the origin at `shellSpeed` in a
// direction still to be chosen meets a target at `rel` moving at `relVel`
// (both relative to the shooter, whose velocity the shell inherits).
// Negative when the shell can never catch the target.
float interceptSeconds(Vec rel, Vec relVel, float shellSpeed);

// The gun direction (0..63, each `dirStep` radians, y pointing down) that
// lies nearest to the direction of v.
int directionTowards(Vec v, float dirStep);

// Which way to turn a gun from direction `from` to `to` along the shorter
// way round: -1, 0 or +1. Half a turn away counts as turning minus.
int turnTowards(int from, int to);

// Closest approach of two bodies moving straight on: `rel` is the second
// body's position less the first's, `relVel` its velocity less the first's.
// The time is never before now.
struct Pass {
  float seconds;
  float distance;  // px between the centres then
};
Pass closestApproach(Vec rel, Vec relVel);

}  // namespace zelkar::cpu
