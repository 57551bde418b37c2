// Whole matches of the computer player on the headless runner, against
// itself or a player pressing random keys.
#pragma once

#include <cstdint>
#include <optional>
#include <sstream>

#include "cpu/player.h"
#include "events/play.h"
#include "headless/runner.h"
#include "support/rivals.h"

namespace zelkar::testing {

struct MatchResult {
  int points[2] = {0, 0};  // right, left
  int64_t ticks = 0;
  bool ended = false;  // someone reached 10 points within the limit
  int winner = -1;     // 0 right, 1 left, -1 none or a draw
};

// What a match shows an onlooker: the game before and after each tick.
struct Unwatched {
  void before(const Game&) {}
  void after(const Game&, int64_t /*ticks*/) {}
};

// One match from `seed` until someone has 10 points or `tickLimit` ticks have run. Before every
// tick `keysOf(side, game)` gives that side's presses and releases, sent through the same key
// handlers a person's keys reach.
template <class KeysOf, class Watch = Unwatched>
MatchResult runMatch(uint32_t seed, bool friction, int64_t tickLimit, KeysOf&& keysOf,
                     Watch&& watch = Unwatched{}) {
  std::ostringstream sink;
  sim::Runner r(sink, sim::DumpMode::None, seed);
  r.execute(sim::SeedCommand{seed});
  r.execute(sim::StartCommand{false, {}, friction});
  const Game& g = r.game();
  while (r.ticks() < tickLimit && sim::simulationRunning(g) && !g.awaitingAnswer) {
    const cpu::KeyEvents keys[2] = {keysOf(0, g), keysOf(1, g)};
    for (const cpu::KeyEvents& side : keys)
      for (const cpu::KeyEvent& e : side)
        r.execute(e.down ? sim::Command{sim::KeyDownCommand{e.keyCode, 0}}
                         : sim::Command{sim::KeyUpCommand{e.keyCode}});
    watch.before(g);
    r.execute(sim::TickCommand{1});
    watch.after(g, r.ticks());
  }
  MatchResult m;
  m.points[0] = g.s.points[0];
  m.points[1] = g.s.points[1];
  m.ticks = r.ticks();
  m.ended = g.awaitingAnswer;
  if (m.ended && m.points[0] != m.points[1]) m.winner = m.points[0] > m.points[1] ? 0 : 1;
  return m;
}

// Each level is the computer player's (1..3) or kRandomKeys.
inline MatchResult playMatch(uint32_t seed, int levelRight, int levelLeft, int64_t tickLimit,
                             bool friction = false) {
  const int levels[2] = {levelRight, levelLeft};
  std::optional<cpu::Player> cpus[2];
  std::optional<RandomKeys> randoms[2];
  for (int p = 0; p < 2; ++p) {
    if (levels[p] > 0)
      cpus[p].emplace(p, levels[p], seed);
    else
      randoms[p].emplace(p, seed);
  }
  return runMatch(seed, friction, tickLimit, [&](int p, const Game& g) {
    return cpus[p] ? cpus[p]->decide(g) : randoms[p]->decide(g.s);
  });
}

}  // namespace zelkar::testing
