#include "net/sync_test.h"

#include <algorithm>

#include "app/state_hash.h"
#include "net/snapshot.h"

namespace zelkar::net {

SyncChecker::SyncChecker(int depth)
    : depth_(std::clamp(depth, 1, kMaxDepth)), steps_(std::size_t(depth_ + 1)) {}

void SyncChecker::begin(const Game& g, const ConfigValues& settings) {
  ticks_ = 0;
  settings_ = settings;
  Step& s = at(0);
  s.after = g;
  loaded_ = g;
  s.settings = settings;
  s.hash = stateHash(g);
  pending_.clear();
  failure_.reset();
}

bool SyncChecker::picturesKept(const Game& g) const { return samePictures(g, loaded_); }

void SyncChecker::event(const sim::Command& c) {
  if (const auto* cfg = std::get_if<sim::ConfigCommand>(&c)) settings_ = cfg->values;
  pending_.push_back(c);
}

void SyncChecker::tick(Game& g) {
  ++ticks_;
  Step& now = at(ticks_);
  now.events = std::move(pending_);
  pending_.clear();
  now.hash = stateHash(g);
  saveGame(g, now.after);
  now.settings = settings_;
  if (failure_) return;

  const int64_t from = std::max<int64_t>(0, ticks_ - depth_);
  restoreGame(g, at(from).after);
  QuietWindow ws(g);
  ws.setConfig(at(from).settings);
  for (int64_t t = from + 1; t <= ticks_; ++t) {
    for (const sim::Command& c : at(t).events) play(g, ws, c);
    play(g, ws, sim::TickCommand{1});
    g.sounds.clear();
    if (stateHash(g) != at(t).hash) {
      failure_ = SyncFailure{t, ticks_, firstDifference(g, at(t).after)};
      if (failure_->difference.empty()) failure_->difference = "(only the hash differs)";
      restoreGame(g, now.after);  // go on from the first run's state
      return;
    }
  }
}

SyncRun syncTestScript(std::string_view script, int depth, int64_t maxTicks, uint32_t seed) {
  SyncRun run;
  const sim::ParsedScript parsed = sim::parseScript(script);
  if (parsed.error) {
    run.error = parsed.error;
    return run;
  }
  auto g = std::make_unique<Game>();
  QuietWindow ws(*g);
  SyncChecker checker(depth);
  bool loaded = false;
  for (const sim::ScriptLine& line : parsed.commands) {
    const sim::Command& c = line.command;
    // The sync test replays what was recorded; a computer seat's keys are
    // only known once a match against it has been recorded.
    if (std::holds_alternative<sim::CpuCommand>(c)) {
      run.error = sim::ScriptError{line.line, "cpu: record the match first, then sync-test it"};
      return run;
    }
    // Before the window opens, a seed is the one load uses and settings are
    // what load reads, as in zelkar-sim.
    if (!loaded) {
      if (const auto* s = std::get_if<sim::SeedCommand>(&c)) {
        seed = s->seed;
        continue;
      }
      if (const auto* cfg = std::get_if<sim::ConfigCommand>(&c)) {
        ws.setConfig(cfg->values);
        continue;
      }
      loaded = true;
      openWindow(*g, ws, seed);
      checker.begin(*g, ws.config());
    }
    const auto* ticks = std::get_if<sim::TickCommand>(&c);
    if (!ticks) {
      play(*g, ws, c);
      checker.event(c);
      g->sounds.clear();
      continue;
    }
    for (int64_t i = 0; i < ticks->count && sim::simulationRunning(*g); ++i) {
      if (checker.ticks() >= maxTicks) break;
      play(*g, ws, sim::TickCommand{1});
      g->sounds.clear();
      checker.tick(*g);
      if (checker.failure()) {
        run.failure = checker.failure();
        run.ticks = checker.ticks();
        return run;
      }
    }
    if (checker.ticks() >= maxTicks) break;
  }
  run.ticks = checker.ticks();
  // Saved games leave the pictures out: a match must not have changed them.
  if (loaded && !checker.picturesKept(*g))
    run.failure = SyncFailure{run.ticks, run.ticks, "the sprite pictures changed during play"};
  return run;
}

}  // namespace zelkar::net
