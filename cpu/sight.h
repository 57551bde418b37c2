// Lines of sight on the screen, read from the same pixels the shells'
// probes read: walls, obstacles, bases and blasts stop a shell; free space,
// flying shells and the two vehicles themselves do not.
#pragma once

#include "app/game_state.h"
#include "cpu/aim.h"
#include "cpu/pixel_reader.h"

namespace zelkar::cpu {

// Whether a shell could fly straight from `from` to `to` (centres) without
// meeting anything; pixels within `clearPx` of either end are not looked at
// (the vehicles standing there).
bool lineIsClear(const GameState& s, const PixelReader& probe, Vec from, Vec to, float clearPx);

// The spot, at `range` px from the other vehicle, where player p would
// best stand: in the arena, with a clear line to the target, near where it
// is now and off the walls. `keep` is the spot chosen before (index 0..15
// round the target, -1 none), kept unless another is clearly better.
// Returns the index; the spot is written to `spot`.
int chooseSpot(const GameState& s, const PixelReader& probe, int p, float range, int keep,
               Vec& spot);

// The centre of spot `index` round the target at `range` px.
Vec spotAt(const GameState& s, int p, float range, int index);

}  // namespace zelkar::cpu
