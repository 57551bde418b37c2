// Where to push the vehicle: towards a goal, away from what would cost
// armour, and out of the path of shells. Each part gives a wish as a
// vector; the sum becomes one of the eight thrust directions or none.
#pragma once

#include "app/game_state.h"
#include "cpu/aim.h"

namespace zelkar::cpu {

// The engine's acceleration of player p now, px/s^2 (no friction).
float engineAccelOf(const GameState& s, int p);

// The velocity still missing, px/s, to reach `goal` (a centre) and stop
// there, at most `cruise` px/s.
Vec missingVelocity(const GameState& s, int p, Vec goal, float cruise);

// The wish for a missing velocity, scaled so that 2 px/s of it is a full
// wish. Zero within `slack` px/s of the wanted velocity, to save fuel.
Vec seekWish(Vec missing, float slack);

// Away from walls, moving obstacles, the other player's base and the other
// vehicle when the present course comes within reach of them in the next
// `horizon` seconds; stronger the closer and the sooner.
Vec hazardWish(const GameState& s, int p, float horizon);

// Sideways out of the path of the other player's flying shells that would
// pass within striking distance in the next `lookahead` seconds.
Vec dodgeWish(const GameState& s, int p, float lookahead);

// Whether a moving obstacle covers player p's base now or drifts onto it
// within `horizon` seconds: a vehicle entering battle there is struck.
bool baseIsThreatened(const GameState& s, int p, float horizon);

// The thrust keys for a wish: each of x and y -1, 0 or +1. A wish shorter
// than `dead` gives no thrust.
struct Thrust {
  int x = 0;
  int y = 0;
};
Thrust thrustFor(Vec wish, float dead);

// Distances of the rules the wishes keep to, px.
inline constexpr float kStrikePx = 16;  // shell centre to vehicle centre: shellHalf + radius + 3
inline constexpr float kSquareCorner =
    1.42f;                             // a wall's corner lies half * sqrt(2) from its centre
inline constexpr float kMarginPx = 6;  // room kept around anything that costs armour

}  // namespace zelkar::cpu
