// The tick's view of the arena: the picture every probe reads and the blast
// states that go with it. It is taken at the start of each tick, so that
// the probes of both players and of the obstacles see the same arena
// whichever steps first, and taken again when a round restarts inside the
// tick: the restart puts both vehicles back on their bases and clears every
// shell and blast, and the rest of the tick must not read the arena as it
// stood before (a vehicle's old picture where it no longer is, a blast
// whose slot is already empty).
#pragma once

#include "app/game.h"

namespace zelkar {

void viewArena(Game& g);

}  // namespace zelkar
