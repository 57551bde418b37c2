// Plays replay commands on a Game the way zelkar-sim does, for the parts
// that replay a match in-process (the rollback session and the sync test):
// the same command must do the same thing here as in a replay file, or a
// recorded online match would not play back.
#pragma once

#include <cstdint>

#include "app/game.h"
#include "events/play.h"
#include "events/quiet_window.h"
#include "events/script.h"

namespace zelkar::net {

using sim::openWindow;
using sim::QuietWindow;

// One command on a loaded game; a tick command runs the ticks the running
// timer would fire. Returns the ticks run.
int64_t play(Game& g, QuietWindow& ws, const sim::Command& command);

}  // namespace zelkar::net
