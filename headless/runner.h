// Plays a parsed script on a Game with no window and writes JSON Lines.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "app/game.h"
#include "events/quiet_window.h"
#include "events/script.h"
#include "headless/seat.h"
#include "headless/state_dump.h"

namespace zelkar::sim {

// Ticks: a JSON object after every tick; End: one at the end; Hash: one
// line "TICK HASH" after every tick (see hashLine); None: nothing, for
// callers that watch the ticks in-process.
enum class DumpMode : uint8_t { Ticks, End, Hash, None };

// Called after every tick with what happened since the one before (its
// `tick` is the number of ticks run so far).
using TickObserver = std::function<void(const Game&, const DumpEvents&)>;

class Runner {
 public:
  // `seats` makes the players of `cpu` lines; without it those lines seat
  // no one and the script's own keys alone play.
  Runner(std::ostream& out, DumpMode mode, uint32_t seed, SeatMaker seats = {});

  // Runs every command, then writes the final object when dumping at the end.
  void run(const std::vector<ScriptLine>& script);

  // One command. Events need the window, so the first one loads it; after
  // the program has ended events are ignored.
  void execute(const Command& command);
  // Writes the final object (dump at the end only).
  void finish();
  // Opens the main window as the program would: load, then the start
  // timer when load has armed it. Does nothing the second time.
  void load();

  void observeTicks(TickObserver observer) { observer_ = std::move(observer); }

  // Keeps every event as a replay would hold it: the commands run, with the
  // computer players' keys in place of their `cpu` lines. Playing the kept
  // list gives the same match.
  void keepRecording() { recording_ = true; }
  const std::vector<Command>& recording() const { return kept_; }

  Game& game() { return *g_; }
  QuietWindow& window() { return ws_; }
  int64_t ticks() const { return events_.tick; }
  // Sound requests the game's bounded queue had to drop; a faithful run has none.
  std::size_t droppedSounds() const { return droppedSounds_; }

 private:
  void operator()(const SeedCommand& c);
  void operator()(const ConfigCommand& c);
  void operator()(const TickCommand& c);
  void operator()(const CpuCommand& c);
  // A player's own event is played by playEvent, as everywhere else.
  template <typename C>
  void operator()(const C&) {}

  // The seats' keys for the coming tick, sent as key events.
  void driveSeats();
  void keep(const Command& command);

  // Moves what the last handler queued (sounds, message boxes) into the
  // events of the next object, so the game's queue never fills up however
  // far apart the objects are.
  void collect();
  void dump();
  bool acceptsEvents() const { return !g_->ended; }

  std::ostream& out_;
  DumpMode mode_;
  uint32_t seed_;
  std::unique_ptr<Game> g_;  // large: the probe tables and the screen model
  QuietWindow ws_;
  bool loaded_ = false;
  DumpEvents events_;
  std::size_t droppedSounds_ = 0;
  TickObserver observer_;
  uint32_t matchSeed_;  // the seed last given, which seeds the computer players too
  SeatMaker makeSeat_;
  std::array<std::unique_ptr<Seat>, 2> seats_;
  std::array<std::vector<SeatKey>, 2> seatKeys_;  // reused: a tick allocates nothing
  bool recording_ = false;
  std::vector<Command> kept_;
};

}  // namespace zelkar::sim
