// Whole matches with the computer player on the headless runner: it beats
// a player pressing random keys and the beginner level, its own matches
// end, and a match it played replays bit for bit from its recording.
#include "support/cpu_match.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "app/state_hash.h"
#include "headless/cpu_seat.h"
#include "headless/runner.h"

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

// Plays a script and gives the state hash after every tick.
std::vector<uint64_t> hashesOf(const std::vector<sim::Command>& script, sim::Runner& r) {
  std::vector<uint64_t> hashes;
  r.observeTicks([&](const Game& g, const sim::DumpEvents&) { hashes.push_back(stateHash(g)); });
  for (const sim::Command& c : script) r.execute(c);
  return hashes;
}

TEST(CpuMatch, RecordingReplaysWithTheSameHashes) {
  const std::vector<sim::Command> script = {
      sim::SeedCommand{4242},  sim::StartCommand{false, {}, true},
      sim::CpuCommand{0, 3},   sim::CpuCommand{1, 2},
      sim::TickCommand{12000},
  };
  std::ostringstream sink;
  sim::Runner played(sink, sim::DumpMode::None, 1, sim::cpuSeats());
  played.keepRecording();
  const std::vector<uint64_t> first = hashesOf(script, played);
  ASSERT_EQ(first.size(), 12000u);
  ASSERT_GT(played.game().s.points[0] + played.game().s.points[1], 0) << "a round was decided";

  // The recording as a file holds ordinary key lines and no `cpu` line.
  const std::string file = sim::replayText(played.recording());
  EXPECT_EQ(file.find("cpu "), std::string::npos);
  EXPECT_NE(file.find("\ndown "), std::string::npos);
  const sim::ParsedScript parsed = sim::parseScript(file);
  ASSERT_FALSE(parsed.error) << parsed.error->message;
  std::vector<sim::Command> replay;
  for (const sim::ScriptLine& line : parsed.commands) replay.push_back(line.command);

  sim::Runner replayed(sink, sim::DumpMode::None, 1);
  const std::vector<uint64_t> second = hashesOf(replay, replayed);
  ASSERT_EQ(second.size(), first.size());
  for (std::size_t i = 0; i < first.size(); ++i) ASSERT_EQ(second[i], first[i]) << "tick " << i + 1;
}

}  // namespace
}  // namespace zelkar::testing
