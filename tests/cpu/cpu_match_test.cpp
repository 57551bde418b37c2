// Whole matches with the computer player on the headless runner: it beats
// a player pressing random keys and the beginner level, and its own matches
// end. That its recording replays bit for bit is SimRecord's (zelkar-sim
// --record) and CpuSeats' (the window).
#include "support/cpu_match.h"

#include <gtest/gtest.h>

namespace zelkar::testing {
namespace {

constexpr int64_t kTickLimit = 150000;  // 75 simulated minutes: far beyond these matches

// The side that reached 10 points; -1 when the match did not end.
int winnerOf(const MatchResult& m) { return m.ended ? m.winner : -1; }

TEST(CpuMatch, LevelThreeBeatsRandomKeysOnEitherSide) {
  for (uint32_t seed : {11u, 12u}) {
    const MatchResult right = playMatch(seed, 3, 0, kTickLimit);
    EXPECT_EQ(winnerOf(right), 0) << "seed " << seed << ": " << right.points[0] << "-"
                                  << right.points[1] << " after " << right.ticks << " ticks";
    const MatchResult left = playMatch(seed, 0, 3, kTickLimit);
    EXPECT_EQ(winnerOf(left), 1) << "seed " << seed << ": " << left.points[0] << "-"
                                 << left.points[1] << " after " << left.ticks << " ticks";
  }
}

TEST(CpuMatch, LevelThreeBeatsLevelOneOnEitherSide) {
  const MatchResult right = playMatch(21, 3, 1, kTickLimit);
  EXPECT_EQ(winnerOf(right), 0) << right.points[0] << "-" << right.points[1];
  const MatchResult left = playMatch(22, 1, 3, kTickLimit, true);  // with friction
  EXPECT_EQ(winnerOf(left), 1) << left.points[0] << "-" << left.points[1];
}

TEST(CpuMatch, ComputerAgainstComputerAlwaysEnds) {
  // Every pairing of levels, one with friction: somebody reaches 10 points.
  const int pairs[][2] = {{3, 3}, {2, 2}, {1, 1}, {2, 3}};
  uint32_t seed = 31;
  for (const auto& pair : pairs) {
    const MatchResult m = playMatch(seed, pair[0], pair[1], kTickLimit, seed % 2 == 0);
    EXPECT_TRUE(m.ended) << "levels " << pair[0] << " and " << pair[1] << ", seed " << seed << ": "
                         << m.points[0] << "-" << m.points[1] << " after " << m.ticks;
    EXPECT_TRUE(m.points[0] == 10 || m.points[1] == 10);
    ++seed;
  }
}

}  // namespace
}  // namespace zelkar::testing
