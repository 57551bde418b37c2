#include "headless/net_script.h"

#include "net/play.h"

namespace zelkar::sim {

std::optional<ScriptError> checkSideScript(const std::vector<ScriptLine>& lines, net::Role role,
                                           ScriptSetup& setup) {
  const bool host = role == net::Role::Host;
  bool evented = false;
  for (const ScriptLine& l : lines) {
    if (const auto* c = std::get_if<ConfigCommand>(&l.command)) {
      if (evented)
        return ScriptError{l.line, "config: an online match keeps the settings it opened with"};
      setup.settings = c->values;
    } else if (const auto* s = std::get_if<SeedCommand>(&l.command)) {
      if (!host) return ScriptError{l.line, "seed: the host's seed builds the arena"};
      // Both machines draw every arena from the generator the load seed
      // set; a later seed could reach only one of them.
      if (evented) return ScriptError{l.line, "seed: only before the first event online"};
      setup.loadSeed = s->seed;
    } else if (std::holds_alternative<CpuCommand>(l.command)) {
      // The session carries key lines; a computer seat would have to run
      // on one machine and send its keys as that side's.
      return ScriptError{l.line, "cpu: not in an online match"};
    } else if (std::holds_alternative<StartCommand>(l.command)) {
      if (!host) return ScriptError{l.line, "start: only the host starts a match"};
      evented = true;
    } else {
      evented = true;
    }
  }
  return std::nullopt;
}

ScriptFeeder::ScriptFeeder(std::vector<ScriptLine> lines, net::Role role)
    : lines_(std::move(lines)), waitForTimer_(role == net::Role::Joiner) {
  // Settings and the load seed went into the session already.
  std::size_t first = 0;
  while (first < lines_.size() && (std::holds_alternative<ConfigCommand>(lines_[first].command) ||
                                   std::holds_alternative<SeedCommand>(lines_[first].command)))
    ++first;
  lines_.erase(lines_.begin(), lines_.begin() + std::ptrdiff_t(first));
}

bool ScriptFeeder::due(const net::Session& session) {
  const bool running = sim::simulationRunning(session.game());
  if (waitForTimer_) {
    // Ticks stand still while the timer does, so the count seen last while
    // waiting is the one the next match starts from, even when this side
    // first sees the match after it has run a few ticks.
    if (!running) {
      base_ = session.ticks();
      return false;
    }
    waitForTimer_ = false;
  }
  if (tickTarget_ >= 0) {
    if (running && session.ticks() < tickTarget_) return false;
    // A stopped timer ends the line early, as it does in a local run.
    base_ = running ? tickTarget_ : session.ticks();
    tickTarget_ = -1;
  }
  return true;
}

void ScriptFeeder::step(net::Session& session) {
  if (session.phase() != net::Phase::Running || doneSent_) return;
  while (due(session)) {
    if (next_ == lines_.size()) {
      session.done();
      doneSent_ = true;
      return;
    }
    const Command& c = lines_[next_++].command;
    if (const auto* t = std::get_if<TickCommand>(&c)) {
      tickTarget_ = base_ + t->count;
      continue;
    }
    // An event goes into the next frame, before its tick; tick lines
    // count on from where the last one ended, so late polls do not drift.
    if (const auto* d = std::get_if<KeyDownCommand>(&c)) {
      session.localKeyDown(d->keyCode, d->shift);
    } else if (const auto* u = std::get_if<KeyUpCommand>(&c)) {
      session.localKeyUp(u->keyCode);
    } else if (const auto* st = std::get_if<StartCommand>(&c)) {
      session.start(*st);
      waitForTimer_ = true;
    } else if (const auto* a = std::get_if<AnswerCommand>(&c)) {
      session.answer(a->text);
      if (a->text == "y" || a->text == "Y") waitForTimer_ = true;
    }
    // Config and seed lines after the first event were refused by checkSideScript.
  }
}

}  // namespace zelkar::sim
