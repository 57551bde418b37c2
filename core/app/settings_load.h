// configp: loads config.txt into the game record and the right player's
// key table. Returns false (and changes nothing) when the file cannot be read.
#pragma once

#include "app/game.h"
#include "app/window_system.h"

namespace zelkar {

bool configp(Game& g, WindowSystem& ws);

}  // namespace zelkar
