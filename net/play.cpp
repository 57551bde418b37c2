#include "net/play.h"

#include "app/handlers.h"

namespace zelkar::net {

void openWindow(Game& g, QuietWindow& ws, uint32_t seed) {
  formLoad(g, ws, seed);
  if (g.screen.startInterval > 0 && !g.ended) startTimer(g);
}

bool timerRunning(const Game& g) { return g.screen.timer1Interval > 0 && !g.ended; }

namespace {

struct Player {
  Game& g;
  QuietWindow& ws;
  int64_t ticks = 0;

  void operator()(const sim::SeedCommand& c) { g.rng.seed(c.seed); }
  void operator()(const sim::ConfigCommand& c) { ws.setConfig(c.values); }
  void operator()(const sim::StartCommand& c) {
    // The start button can only be pressed while the start panel shows.
    if (g.ended || !g.screen.Picture2.visible) return;
    ScreenModel& sc = g.screen;
    sc.Option1.value = !c.given;
    sc.Option2.value = c.given;
    if (c.given) sc.tirikosu.caption = c.text;
    sc.mas.value = c.friction;
    gameClick(g, ws);
  }
  void operator()(const sim::KeyDownCommand& c) {
    if (!g.ended) formKeyDown(g, ws, c.keyCode, c.shift);
  }
  void operator()(const sim::KeyUpCommand& c) {
    if (!g.ended) formKeyUp(g, c.keyCode, 0);
  }
  void operator()(const sim::TickCommand& c) {
    for (int64_t i = 0; i < c.count && timerRunning(g); ++i) {
      timer1Timer(g);
      ++ticks;
    }
  }
  // Sessions and the sync test play recorded key lines only; their scripts
  // refuse a cpu line before it gets here.
  void operator()(const sim::CpuCommand&) {}
  void operator()(const sim::AnswerCommand& c) {
    // Only a shown answer box can be typed into.
    if (g.ended || !g.screen.han.visible) return;
    g.screen.han.caption = c.text;
    hanChange(g, ws);
  }
};

}  // namespace

int64_t play(Game& g, QuietWindow& ws, const sim::Command& command) {
  Player p{g, ws};
  std::visit(p, command);
  return p.ticks;
}

}  // namespace zelkar::net
