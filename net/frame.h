// One frame of an online match: the events of both sides, the left side's
// first, then one tick if the timer runs. A pure function of the saved
// state and the inputs, so that a rollback replays it exactly.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "app/game.h"
#include "audio/sound.h"
#include "headless/script.h"
#include "net/packet.h"
#include "net/play.h"

namespace zelkar::net {

// Ctrl+F2: stops the match for both machines (back to the start panel).
inline constexpr int16_t kStopKey = 113;  // F2
inline constexpr int16_t kStopShift = 2;  // Ctrl alone

// What the session keeps beside the Game, saved and restored with it.
struct MatchState {
  std::array<bool, 2> saidYes{};  // per side (0 left): Y given to the question now asked
  std::array<bool, 2> done{};     // per side: no more inputs will come
  int64_t ticks = 0;              // ticks of the shared match run so far
  int8_t noBy = -1;               // side whose N ended the session, -1 none
  bool over() const { return noBy >= 0 || (done[0] && done[1]); }
};

struct FrameResult {
  bool ticked = false;  // the timer ran a tick in this frame
  uint64_t hash = 0;    // stateHash after the tick
};

// What a frame leaves besides the game.
struct FrameOutput {
  // The replay commands that reached the game (an answer reaches it once
  // both sides agree or one says N), then a tick command when a tick ran.
  std::vector<sim::Command>* applied = nullptr;
  // The sounds requested; the game's queue is emptied after every command,
  // as zelkar-sim does, so a long frame never overflows it.
  std::vector<Sound>* sounds = nullptr;
};

FrameResult runFrame(Game& g, QuietWindow& ws, MatchState& m, const FrameEvents& left,
                     const FrameEvents& right, const FrameOutput& out);

}  // namespace zelkar::net
