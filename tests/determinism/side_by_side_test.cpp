// Two games from the same seed fed the same keys must stay equal, bit for
// bit, after every tick: nothing outside the Game value (no global, no
// uninitialised memory, no address) may feed the match. Game a also keeps
// the invariants of every match. ZELKAR_DETERMINISM_SEEDS and
// ZELKAR_DETERMINISM_TICKS change the size of the runs (10 seeds of 6000
// ticks per style; 500 ticks under the sanitizers). The long run behind
// `make soak` plays ZELKAR_SOAK_SEEDS more seeds (none in a normal run).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/game_state_members.h"
#include "app/state_hash.h"
#include "determinism/match_pair.h"
#include "support/invariants.h"

namespace zelkar::testing {
namespace {

#ifdef ZELKAR_SANITIZED
constexpr int kDefaultTicks = 500;  // the sanitizers run the tick some 15 times slower
#else
constexpr int kDefaultTicks = 6000;  // three simulated minutes, several rounds
#endif
constexpr int kDefaultSeeds = 10;  // enough to catch a leak into the match; `make soak` plays 1000
constexpr ConfigValues kConfig{1, 10, 1};  // keypad, 10 ms, sound on

struct RunStats {
  int points = 0;
  int restarts = 0;
};

// The first difference that counts: b's copy takes a's values of the
// members left out, so that the report does not stop at them.
std::string differenceBeyond(const Game& a, const Game& b,
                             std::initializer_list<std::string_view> ignored) {
  auto copy = std::make_unique<Game>(b);
  std::vector<const void*> values;
  forEachMember(a.s, [&](std::string_view, const auto& v) { values.push_back(&v); });
  std::size_t i = 0;
  forEachMember(copy->s, [&](std::string_view name, auto& v) {
    const void* from = values[i++];
    if (std::find(ignored.begin(), ignored.end(), name) != ignored.end())
      v = *static_cast<const std::remove_cvref_t<decltype(v)>*>(from);
  });
  return firstDifference(a, *copy);
}

// Plays one seed; fails at the first tick where the games differ, naming
// the first value that differs.
void playSeed(uint32_t seed, Style style, int ticks, RunStats& stats,
              ConfigValues configB = kConfig,
              std::initializer_list<std::string_view> ignored = {}) {
  MatchPair m(seed, seed % 2 == 0, kConfig, configB);
  KeyPlayer player(style, seed);
  for (int n = 1; n <= ticks; ++n) {
    player.play(m);
    m.tick();
    ASSERT_EQ(stateHashWithout(m.a(), ignored), stateHashWithout(m.b(), ignored))
        << styleName(style) << " seed " << seed << " tick " << n << ": "
        << differenceBeyond(m.a(), m.b(), ignored);
    checkInvariants(m.a(), seed, n);
    if (::testing::Test::HasFatalFailure()) return;
  }
  stats.points += m.a().s.points[0] + m.a().s.points[1];
  stats.restarts += m.restarts();
}

void playSeeds(Style style) {
  const int seeds = envCount("ZELKAR_DETERMINISM_SEEDS", kDefaultSeeds);
  const int ticks = envCount("ZELKAR_DETERMINISM_TICKS", kDefaultTicks);
  RunStats stats;
  for (int seed = 1; seed <= seeds; ++seed) {
    playSeed(static_cast<uint32_t>(seed), style, ticks, stats);
    if (::testing::Test::HasFatalFailure()) return;
  }
  std::printf("%s: %d seeds x %d ticks, %d points, %d restarts\n", styleName(style), seeds, ticks,
              stats.points, stats.restarts);
  if (style != Style::Mash) {
    EXPECT_GT(stats.points, 0);  // fights, not idle arenas
  }
}

TEST(SideBySide, UniformRandomKeys) { playSeeds(Style::Uniform); }
TEST(SideBySide, CombatKeys) { playSeeds(Style::Combat); }
TEST(SideBySide, EveryKeyMashedEveryTick) { playSeeds(Style::Mash); }

// The sound switch only decides whether requests are queued, and the tick
// interval only how often the window calls the tick: neither may reach
// the match. Their own members differ, of course, and are left out.
TEST(SideBySide, SoundAndTickIntervalNeverFeedBack) {
  RunStats stats;
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    const Style style = seed % 3 == 0 ? Style::Mash : Style::Combat;
    playSeed(seed, style, 2000, stats, ConfigValues{1, 50, 0}, {"soundOn", "tickInterval"});
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(stats.points, 0);
}

// One test per soak seed, so that gtest's sharding (GTEST_TOTAL_SHARDS,
// GTEST_SHARD_INDEX) spreads them over cores and a failure names its seed.
class SoakSeed : public ::testing::TestWithParam<int> {};

TEST_P(SoakSeed, StaysEqualAndKeepsTheInvariants) {
  const auto seed = static_cast<uint32_t>(GetParam());
  const Style style = seed % 3 == 0 ? Style::Uniform : seed % 3 == 1 ? Style::Combat : Style::Mash;
  RunStats stats;
  playSeed(seed, style, envCount("ZELKAR_SOAK_TICKS", 6000), stats);
}

// Read when the tests are registered, before main runs.
INSTANTIATE_TEST_SUITE_P(Seeds, SoakSeed,
                         ::testing::Range(1, 1 + envCount("ZELKAR_SOAK_SEEDS", 0)));
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SoakSeed);

}  // namespace
}  // namespace zelkar::testing
