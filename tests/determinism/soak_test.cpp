// The long run behind `make soak`: ZELKAR_SOAK_SEEDS seeds (none in a
// normal test run), each a pair of games compared after every tick and
// held to the invariants of every match. One test per seed, so that gtest's
// sharding (GTEST_TOTAL_SHARDS, GTEST_SHARD_INDEX) spreads them over cores
// and a failure names its seed.
#include <gtest/gtest.h>

#include "app/state_hash.h"
#include "determinism/match_pair.h"
#include "support/invariants.h"

namespace zelkar::testing {
namespace {

class SoakSeed : public ::testing::TestWithParam<int> {};

TEST_P(SoakSeed, StaysEqualAndKeepsTheInvariants) {
  const auto seed = static_cast<uint32_t>(GetParam());
  const int ticks = envCount("ZELKAR_SOAK_TICKS", 6000);  // three simulated minutes
  const Style style = seed % 3 == 0 ? Style::Uniform : seed % 3 == 1 ? Style::Combat : Style::Mash;
  MatchPair m(seed, seed % 2 == 0, ConfigValues{1, 10, 1}, ConfigValues{1, 10, 1});
  KeyPlayer player(style, seed);
  for (int n = 1; n <= ticks; ++n) {
    player.play(m);
    m.tick();
    ASSERT_EQ(stateHash(m.a()), stateHash(m.b()))
        << styleName(style) << " tick " << n << ": " << firstDifference(m.a(), m.b());
    checkInvariants(m.a(), seed, n);
    if (HasFatalFailure()) return;
  }
}

// Read when the tests are registered, before main runs.
INSTANTIATE_TEST_SUITE_P(Seeds, SoakSeed,
                         ::testing::Range(1, 1 + envCount("ZELKAR_SOAK_SEEDS", 0)));
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SoakSeed);

}  // namespace
}  // namespace zelkar::testing
