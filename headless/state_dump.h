// One JSON object of the runner's output: where the run stands, what was
// heard and shown since the last object, every member of the game record
// and the captions of the read-outs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/game.h"
#include "events/play.h"
#include "events/quiet_window.h"

namespace zelkar::sim {

struct DumpEvents {
  int64_t tick = 0;                 // ticks run so far
  std::vector<std::string> sounds;  // sound procedures that sent a command, in order
  std::vector<Message> messages;    // message boxes shown, in order
};

// The object as one line of text, without the line break.
std::string stateLine(const Game& g, const DumpEvents& events);

}  // namespace zelkar::sim
