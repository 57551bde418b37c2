#include "headless/runner.h"

#include "app/handlers.h"
#include "app/state_hash.h"
#include "events/play.h"
#include "headless/replay.h"

namespace zelkar::sim {

Runner::Runner(std::ostream& out, DumpMode mode, uint32_t seed, SeatMaker seats)
    : out_(out),
      mode_(mode),
      seed_(seed),
      g_(std::make_unique<Game>()),
      ws_(*g_),
      matchSeed_(seed),
      makeSeat_(std::move(seats)) {}

void Runner::run(const std::vector<ScriptLine>& script) {
  for (const ScriptLine& line : script) execute(line.command);
  finish();
}

void Runner::execute(const Command& command) {
  if (!std::holds_alternative<CpuCommand>(command) && !std::holds_alternative<TickCommand>(command))
    keep(command);
  if (isPlayerEvent(command)) {
    load();
    playEvent(*g_, ws_, command);
    collect();
    return;
  }
  std::visit([this](const auto& c) { (*this)(c); }, command);
}

void Runner::finish() {
  if (mode_ != DumpMode::End) return;
  // A script of settings alone still shows the window as it opened.
  load();
  dump();
}

void Runner::load() {
  if (loaded_) return;
  loaded_ = true;
  openWindow(*g_, ws_, seed_);
  collect();
}

void Runner::operator()(const SeedCommand& c) {
  matchSeed_ = c.seed;
  // Before load the seed is handed to it, as the window's --seed is;
  // after load the generator's state is set directly.
  if (loaded_)
    g_->rng.seed(c.seed);
  else
    seed_ = c.seed;
}

void Runner::operator()(const ConfigCommand& c) { ws_.setConfig(c.values); }

void Runner::operator()(const TickCommand& c) {
  load();
  // Ticks that the stopped timer would not fire are not run and not counted.
  for (int64_t i = 0; i < c.count && simulationRunning(*g_); ++i) {
    driveSeats();
    keep(TickCommand{1});
    timer1Timer(*g_);
    ++events_.tick;
    collect();
    if (observer_) observer_(*g_, events_);
    if (mode_ == DumpMode::Ticks) {
      dump();
    } else if (mode_ != DumpMode::End) {
      if (mode_ == DumpMode::Hash) out_ << hashLine(events_.tick, stateHash(*g_)) << '\n';
      // Reported to no one: kept, they would pile up over a long run.
      events_.sounds.clear();
      events_.messages.clear();
    }
  }
}

void Runner::operator()(const CpuCommand& c) {
  if (makeSeat_) seats_[c.side == 0 ? 0 : 1] = makeSeat_(c.side, c.level, matchSeed_);
}

void Runner::driveSeats() {
  if (!acceptsEvents()) return;
  // Both decide on the same arena before either presses a key.
  for (int p = 0; p < kPlayers; ++p) {
    seatKeys_[p].clear();
    if (seats_[p]) seats_[p]->decide(*g_, seatKeys_[p]);
  }
  for (const std::vector<SeatKey>& side : seatKeys_) {
    for (const SeatKey& e : side) {
      if (e.down) {
        keep(KeyDownCommand{e.keyCode, 0});
        formKeyDown(*g_, ws_, e.keyCode, 0);
      } else {
        keep(KeyUpCommand{e.keyCode});
        formKeyUp(*g_, e.keyCode, 0);
      }
      collect();
    }
  }
}

void Runner::keep(const Command& command) {
  if (!recording_) return;
  // Runs of ticks are kept as one line, as a recording writes them.
  if (const auto* tick = std::get_if<TickCommand>(&command); tick && !kept_.empty())
    if (auto* last = std::get_if<TickCommand>(&kept_.back())) {
      last->count += tick->count;
      return;
    }
  kept_.push_back(command);
}

void Runner::collect() {
  for (std::size_t i = 0; i < g_->sounds.size(); ++i)
    events_.sounds.emplace_back(soundName(g_->sounds[i]));
  droppedSounds_ += g_->sounds.dropped();
  g_->sounds.clear();
  g_->explosions.clear();  // pictures for a window; the runner has none
  for (Message& m : ws_.takeMessages()) events_.messages.push_back(std::move(m));
}

void Runner::dump() {
  out_ << stateLine(*g_, events_) << '\n';
  events_.sounds.clear();
  events_.messages.clear();
}

}  // namespace zelkar::sim
