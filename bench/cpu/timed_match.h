// The benchmark's whole matches: the tests' match on the headless runner,
// with any scripted rival, the computer's decisions timed and, on request,
// a trace of every round.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>

#include "damage_tally.h"
#include "rivals.h"
#include "support/cpu_match.h"

namespace zelkar::bench {

struct MatchResult : testing::MatchResult {
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

// Prints each change of the score with its tick, and what each side's armour
// was lost to in that round. Without a file it looks at nothing.
class RoundTrace {
 public:
  explicit RoundTrace(std::FILE* f) : f_(f) {}

  void before(const Game& g) {
    if (f_) was_ = g.s;
  }

  void after(const Game& g, int64_t ticks) {
    if (!f_) return;
    const GameState& s = g.s;
    for (int p = 0; p < 2; ++p) damage_[p].add(*was_, s, p);
    if (s.points[0] + s.points[1] == was_->points[0] + was_->points[1]) return;
    std::fprintf(f_, "tick %lld: %d-%d  fuel %.0f/%.0f shells %d/%d rows %d/%d\n",
                 static_cast<long long>(ticks), s.points[0], s.points[1], double(s.fuelLeft[0]),
                 double(s.fuelLeft[1]), s.shellsLeft[0], s.shellsLeft[1], s.settingRow[0],
                 s.settingRow[1]);
    for (int p = 0; p < 2; ++p) damage_[p].print(f_, p);
    damage_[0] = damage_[1] = DamageTally{};
  }

 private:
  std::FILE* f_;
  std::optional<GameState> was_;
  DamageTally damage_[2];
};

// A level above 0 is the computer player, 0 and below a scripted Rival.
inline MatchResult playMatch(uint32_t seed, int levelRight, int levelLeft, int64_t tickLimit,
                             bool friction = false, std::FILE* trace = nullptr) {
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
  using Clock = std::chrono::steady_clock;
  const auto keysOf = [&](int p, const Game& g) {
    if (!cpus[p]) return scripts[p]->decide(g.s);
    // The decision's own cost is the least of three runs on equal players:
    // the machine is shared, and a run the system interrupted counts the
    // interruption's cache misses and bookkeeping too.
    cpu::KeyEvents keys;
    double cpuUs = 1e30, us = 1e30;
    for (int run = 0; run < kTimedRuns; ++run) {
      cpu::Player copy = *cpus[p];
      cpu::Player& who = run + 1 < kTimedRuns ? copy : *cpus[p];
      const auto t0 = Clock::now();
      const double c0 = threadMicros();
      keys = who.decide(g);
      cpuUs = std::min(cpuUs, threadMicros() - c0);
      us = std::min(us, std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    m.decideCpuMicros += cpuUs;
    m.maxDecideCpuMicros = std::max(m.maxDecideCpuMicros, cpuUs);
    m.decideMicros += us;
    m.maxDecideMicros = std::max(m.maxDecideMicros, us);
    ++m.decisions;
    return keys;
  };
  static_cast<testing::MatchResult&>(m) =
      testing::runMatch(seed, friction, tickLimit, keysOf, RoundTrace(trace));
  return m;
}

}  // namespace zelkar::bench
