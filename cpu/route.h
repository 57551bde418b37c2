// The way to a goal round the walls. Steering alone keeps off a wall by
// braking before it; with the goal straight behind a wall the goal's pull
// and the wall's push cancel, and the vehicle stands there thrusting to and
// fro until its tank is empty. So the goal is first moved to a point
// beside the first fixed body in the way.
#pragma once

#include "app/game_state.h"
#include "cpu/aim.h"

namespace zelkar::cpu {

// Where player p should head now to reach `goal` (a centre): the goal
// itself when the straight way is clear of walls and the other's base,
// otherwise a point along the tangent that passes the first of them in the
// way on the side away from it.
Vec routeTowards(const GameState& s, int p, Vec goal);

}  // namespace zelkar::cpu
