// Plays a match in-process and writes down every event it played, so that
// the replay file made from it plays the very same match.
#pragma once

#include <sstream>
#include <utility>
#include <vector>

#include "headless/runner.h"

namespace zelkar::sim::maker {

class Recorder {
 public:
  Recorder(uint32_t seed, TickObserver observer) : runner_(none_, DumpMode::None, 0) {
    runner_.observeTicks(std::move(observer));
    add(SeedCommand{seed});
  }

  void add(const Command& c) {
    flushTicks();
    runner_.execute(c);
    commands_.push_back(c);
  }
  void down(int16_t key, int16_t shift = 0) { add(KeyDownCommand{key, shift}); }
  void up(int16_t key) { add(KeyUpCommand{key}); }
  // Ticks in a row are written as one `tick N`.
  void tick() {
    runner_.execute(TickCommand{1});
    ++pendingTicks_;
  }

  const Game& game() { return runner_.game(); }
  int64_t ticks() const { return runner_.ticks(); }
  bool running() { return simulationRunning(runner_.game()); }

  std::vector<Command> commands() {
    flushTicks();
    return commands_;
  }

 private:
  void flushTicks() {
    // Built in place: a moved temporary variant makes GCC 12 warn falsely.
    if (pendingTicks_ > 0) commands_.emplace_back(std::in_place_type<TickCommand>, pendingTicks_);
    pendingTicks_ = 0;
  }

  std::ostringstream none_;
  Runner runner_;
  std::vector<Command> commands_;
  int64_t pendingTicks_ = 0;
};

}  // namespace zelkar::sim::maker
