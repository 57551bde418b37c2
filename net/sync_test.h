// The sync test: after every tick the game is rolled back `depth` ticks
// and those ticks are played again from the saved copy, with the same
// events; every replayed state must hash as the first run did. It proves
// that a saved Game holds the whole state (screen model, probe surface,
// generator, sound queue, everything), which rollback relies on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/game.h"
#include "events/script.h"
#include "net/play.h"

namespace zelkar::net {

struct SyncFailure {
  int64_t tick = 0;          // the replayed tick whose hash differs
  int64_t rolledBackAt = 0;  // the tick after which the rollback was made
  std::string difference;    // the first value that differs (see firstDifference)
};

// For a front end that plays a game itself: it reports each event it hands
// the game and each tick, and the checker rolls the game back in place and
// replays, in a quiet window (no sound, no message boxes), after each tick.
class SyncChecker {
 public:
  // At most kMaxDepth ticks back: the deepest rollback online play makes.
  static constexpr int kMaxDepth = 8;
  explicit SyncChecker(int depth);

  // The game as loaded, before its first event.
  void begin(const Game& g, const ConfigValues& settings);
  // An event (never a tick) that was just applied to the game.
  void event(const sim::Command& c);
  // A tick just ran. Rolls back, replays and compares; the game is left as
  // the replay made it. The first failure is kept and checking stops.
  void tick(Game& g);

  const std::optional<SyncFailure>& failure() const { return failure_; }
  // Whether the game's pictures are still those it had at begin(): saved
  // games leave them out (see snapshot.h), so play must not change them.
  bool picturesKept(const Game& g) const;
  int64_t ticks() const { return ticks_; }

 private:
  struct Step {
    std::vector<sim::Command> events;  // before the tick
    uint64_t hash = 0;                 // after it
    Game after;                        // the state after it, without pictures
    ConfigValues settings;             // the quiet window's settings after it
  };
  Step& at(int64_t tick) { return steps_[std::size_t(tick % int64_t(steps_.size()))]; }

  int depth_;
  int64_t ticks_ = 0;
  std::vector<Step> steps_;  // ticks_-depth_ .. ticks_, by tick modulo the size
  std::vector<sim::Command> pending_;
  ConfigValues settings_;
  std::optional<SyncFailure> failure_;
  Game loaded_;  // as begin() found it
};

struct SyncRun {
  std::optional<sim::ScriptError> error;  // a bad script is not played
  std::optional<SyncFailure> failure;
  int64_t ticks = 0;  // ticks checked
};

// Plays a script as zelkar-sim --script does, for at most maxTicks ticks,
// with a rollback of `depth` ticks after each.
SyncRun syncTestScript(std::string_view script, int depth, int64_t maxTicks, uint32_t seed = 0);

}  // namespace zelkar::net
