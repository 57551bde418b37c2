#include "headless/runner.h"

#include "app/handlers.h"
#include "app/state_hash.h"
#include "headless/replay.h"

namespace zelkar::sim {

Runner::Runner(std::ostream& out, DumpMode mode, uint32_t seed)
    : out_(out), mode_(mode), seed_(seed), g_(std::make_unique<Game>()), ws_(*g_) {}

void Runner::run(const std::vector<ScriptLine>& script) {
  for (const ScriptLine& line : script) execute(line.command);
  finish();
}

void Runner::execute(const Command& command) {
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
  formLoad(*g_, ws_, seed_);
  collect();
  // The start timer is one-shot: it fires once if load armed it.
  if (g_->screen.startInterval > 0 && !g_->ended) {
    startTimer(*g_);
    collect();
  }
}

void Runner::operator()(const SeedCommand& c) {
  // Before load the seed is handed to it, as the window's --seed is;
  // after load the generator's state is set directly.
  if (loaded_)
    g_->rng.seed(c.seed);
  else
    seed_ = c.seed;
}

void Runner::operator()(const ConfigCommand& c) { ws_.setConfig(c.values); }

void Runner::operator()(const StartCommand& c) {
  load();
  // The start button can only be pressed while the start panel shows.
  if (!acceptsEvents() || !g_->screen.Picture2.visible) return;
  ScreenModel& sc = g_->screen;
  sc.Option1.value = !c.given;
  sc.Option2.value = c.given;
  if (c.given) sc.tirikosu.caption = c.text;
  sc.mas.value = c.friction;
  gameClick(*g_, ws_);
  collect();
}

void Runner::operator()(const KeyDownCommand& c) {
  load();
  if (!acceptsEvents()) return;
  formKeyDown(*g_, ws_, c.keyCode, c.shift);
  collect();
}

void Runner::operator()(const KeyUpCommand& c) {
  load();
  if (!acceptsEvents()) return;
  formKeyUp(*g_, c.keyCode, 0);
  collect();
}

void Runner::operator()(const TickCommand& c) {
  load();
  // Ticks that the stopped timer would not fire are not run and not counted.
  for (int64_t i = 0; i < c.count && simulationRunning(*g_); ++i) {
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

void Runner::operator()(const AnswerCommand& c) {
  load();
  // Only a shown answer box can be typed into.
  if (!acceptsEvents() || !g_->screen.han.visible) return;
  g_->screen.han.caption = c.text;
  hanChange(*g_, ws_);
  collect();
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
