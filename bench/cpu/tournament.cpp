// zelkar-cpu-bench: seeded whole matches to 10 points between the computer
// player's levels, and against scripted rivals. Prints how often each
// pairing is won, the median match length and the computer's decision
// time per tick. A tournament of whole matches, so a program of its own
// rather than a Google Benchmark loop.
//
//   zelkar-cpu-bench [MATCHES] [TICK_LIMIT] [PAIRING-NAME-PART]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "timed_match.h"

namespace {

using zelkar::bench::MatchResult;
using zelkar::bench::playMatch;

struct Tally {
  int wins = 0, losses = 0, unfinished = 0;
  int pointsFor = 0, pointsAgainst = 0;  // summed over the matches: how close they were
  std::vector<int64_t> ticks;
  double micros = 0, maxMicros = 0, cpuMicros = 0, maxCpuMicros = 0;
  int64_t decisions = 0;
  std::string notWon;  // "seed right left;" of each match not won, as --trace takes them
};

// `level` plays `rival` (a level, or a scripted Rival); sides alternate with the seed so
// neither side's start favours it.
Tally pairing(int level, int rival, int matches, int64_t limit) {
  Tally t;
  for (int i = 0; i < matches; ++i) {
    const uint32_t seed = 1000u + static_cast<uint32_t>(i) * 7919u;
    const int side = i % 2;  // the side `level` plays
    const MatchResult m =
        side == 0 ? playMatch(seed, level, rival, limit) : playMatch(seed, rival, level, limit);
    t.pointsFor += m.points[side];
    t.pointsAgainst += m.points[1 - side];
    if (!m.ended || m.winner < 0)
      ++t.unfinished;
    else if (m.winner == side)
      ++t.wins;
    else
      ++t.losses;
    if (level != rival && (!m.ended || m.winner != side)) {  // a mirror loses half
      // The arguments of --trace: the seed, then the right side's level and the left side's.
      char line[48];
      std::snprintf(line, sizeof line, " %u %d %d", seed, side == 0 ? level : rival,
                    side == 0 ? rival : level);
      t.notWon.append(line).push_back(';');
    }
    t.ticks.push_back(m.ticks);
    t.micros += m.decideMicros;
    t.maxMicros = std::max(t.maxMicros, m.maxDecideMicros);
    t.cpuMicros += m.decideCpuMicros;
    t.maxCpuMicros = std::max(t.maxCpuMicros, m.maxDecideCpuMicros);
    t.decisions += m.decisions;
  }
  return t;
}

int64_t median(std::vector<int64_t> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void report(const char* name, const Tally& t, int matches) {
  std::printf(
      "%-24s won %3d/%d  lost %3d  unfinished %3d  points %4d-%-4d median %7lld ticks  "
      "decide (processor time) mean %.2f us worst %.1f us\n",
      name, t.wins, matches, t.losses, t.unfinished, t.pointsFor, t.pointsAgainst,
      static_cast<long long>(median(t.ticks)),
      t.decisions ? t.cpuMicros / double(t.decisions) : 0.0, t.maxCpuMicros);
  if (!t.notWon.empty()) std::printf("  not won (--trace):%s\n", t.notWon.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  // --trace SEED RIGHT LEFT [friction]: one match, every change of the score printed.
  if ((argc == 5 || argc == 6) && std::string(argv[1]) == "--trace") {
    const bool friction = argc == 6 && std::string(argv[5]) == "friction";
    const MatchResult m = playMatch(static_cast<uint32_t>(std::atoi(argv[2])), std::atoi(argv[3]),
                                    std::atoi(argv[4]), 200000, friction, stdout);
    std::printf("%lld ticks, %d-%d\n", static_cast<long long>(m.ticks), m.points[0], m.points[1]);
    return 0;
  }
  const int matches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  // 200,000 ticks is 100 simulated minutes: far beyond any match seen.
  const int64_t limit = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200000;
  const char* only = argc > 3 ? argv[3] : "";
  std::printf("zelkar-cpu-bench: %d seeded matches to 10 points per pairing\n", matches);
  using namespace zelkar::bench;
  struct Pairing {
    const char* name;
    int level, rival;
  };
  static constexpr Pairing kPairings[] = {
      {"level 3 vs random keys", 3, kRandomKeys},
      {"level 3 vs battle keys", 3, kBattleKeys},
      {"level 3 vs held keys", 3, kHeldKeys},
      {"level 3 vs fire-heavy", 3, kFireHeavy},
      {"level 3 vs turret", 3, kTurret},
      {"level 3 vs rammer", 3, kRammer},
      {"level 3 vs idle", 3, kIdle},
      {"level 3 vs level 2", 3, 2},
      {"level 3 vs level 1", 3, 1},
      {"level 3 vs level 3", 3, 3},
      {"level 2 vs level 1", 2, 1},
      {"level 2 vs random keys", 2, kRandomKeys},
      {"level 2 vs idle", 2, kIdle},
      {"level 1 vs random keys", 1, kRandomKeys},
      {"level 1 vs idle", 1, kIdle},
  };
  for (const Pairing& p : kPairings)
    if (std::strstr(p.name, only))
      report(p.name, pairing(p.level, p.rival, matches, limit), matches);
  return 0;
}
