// Whole matches between computer players and scripted rivals, played on the headless runner. Shared
// by the tests and the benchmark.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <sstream>

#include "cpu/cpu_rng.h"
#include "cpu/player.h"
#include "headless/runner.h"
#include "headless/state_dump.h"
#include "support/damage_tally.h"
#include "support/rivals.h"

namespace zelkar::testing {

struct MatchResult {
  int points[2] = {0, 0};  // right, left
  int64_t ticks = 0;
  bool ended = false;       // someone reached 10 points within the limit
  int winner = -1;          // 0 right, 1 left, -1 none or a draw
  double decideMicros = 0;  // summed decision time of the computer players
  double maxDecideMicros = 0;
  // The largest by this thread's processor time: the wall clock also counts
  // the time the system gave to other programs in between.
  double maxDecideCpuMicros = 0;
  double decideCpuMicros = 0;  // summed, in processor time
  int64_t decisions = 0;
};

inline constexpr int kTimedRuns = 3;  // runs of each decision timed, the least counted

inline double threadMicros() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

// A level above 0 is the computer player, 0 and below a scripted Rival. Each side is driven before
// every tick through the same key handlers a person's keys reach. With `trace`, each change of the
// score is printed with the tick, and what each side's armour was lost to in that round.
inline MatchResult playMatch(uint32_t seed, int levelRight, int levelLeft, int64_t tickLimit,
                             bool friction = false, std::FILE* trace = nullptr) {
  std::ostringstream sink;
  sim::Runner r(sink, sim::DumpMode::None, seed);
  r.execute(sim::SeedCommand{seed});
  r.execute(sim::StartCommand{false, {}, friction});
  const int levels[2] = {levelRight, levelLeft};
  std::optional<cpu::Player> cpus[2];
  std::optional<ScriptedRival> scripts[2];
  for (int p = 0; p < 2; ++p) {
    if (levels[p] > 0)
      cpus[p].emplace(p, levels[p], seed);
    else
      scripts[p].emplace(static_cast<Rival>(levels[p]), p, seed);
  }
  MatchResult m;
  Game& g = r.game();
  DamageTally damage[2];
  std::optional<GameState> was;
  using Clock = std::chrono::steady_clock;
  while (r.ticks() < tickLimit && sim::simulationRunning(g) && !g.awaitingAnswer) {
    cpu::KeyEvents keys[2];
    for (int p = 0; p < 2; ++p) {
      if (cpus[p]) {
        // The decision's own cost is the least of three runs on equal
        // players: the machine is shared, and a run the system interrupted
        // counts the interruption's cache misses and bookkeeping too.
        double cpuUs = 1e30, us = 1e30;
        for (int run = 0; run < kTimedRuns; ++run) {
          cpu::Player copy = *cpus[p];
          cpu::Player& who = run + 1 < kTimedRuns ? copy : *cpus[p];
          const auto t0 = Clock::now();
          const double c0 = threadMicros();
          keys[p] = who.decide(g);
          cpuUs = std::min(cpuUs, threadMicros() - c0);
          us = std::min(us, std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        }
        m.decideCpuMicros += cpuUs;
        m.maxDecideCpuMicros = std::max(m.maxDecideCpuMicros, cpuUs);
        m.decideMicros += us;
        m.maxDecideMicros = std::max(m.maxDecideMicros, us);
        ++m.decisions;
      } else {
        keys[p] = scripts[p]->decide(g.s);
      }
    }
    for (const cpu::KeyEvents& side : keys)
      for (const cpu::KeyEvent& e : side)
        r.execute(e.down ? sim::Command{sim::KeyDownCommand{e.keyCode, 0}}
                         : sim::Command{sim::KeyUpCommand{e.keyCode}});
    const int before = g.s.points[0] + g.s.points[1];
    if (trace) was = g.s;
    r.execute(sim::TickCommand{1});
    if (!trace) continue;
    for (int p = 0; p < 2; ++p) damage[p].add(*was, g.s, p);
    if (g.s.points[0] + g.s.points[1] == before) continue;
    std::fprintf(trace, "tick %lld: %d-%d  fuel %.0f/%.0f shells %d/%d rows %d/%d\n",
                 static_cast<long long>(r.ticks()), g.s.points[0], g.s.points[1],
                 double(g.s.fuelLeft[0]), double(g.s.fuelLeft[1]), g.s.shellsLeft[0],
                 g.s.shellsLeft[1], g.s.settingRow[0], g.s.settingRow[1]);
    for (int p = 0; p < 2; ++p) damage[p].print(trace, p);
    damage[0] = damage[1] = DamageTally{};
  }
  m.points[0] = g.s.points[0];
  m.points[1] = g.s.points[1];
  m.ticks = r.ticks();
  m.ended = g.awaitingAnswer;
  if (m.ended && m.points[0] != m.points[1]) m.winner = m.points[0] > m.points[1] ? 0 : 1;
  return m;
}

}  // namespace zelkar::testing
