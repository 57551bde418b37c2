// Rolling back and replaying any number of ticks up to the deepest online
// rollback reproduces every golden replay exactly: a saved Game is the
// whole state.
#include "net/sync_test.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/handlers.h"
#include "support/golden_replays.h"

namespace zelkar::net {
namespace {

namespace fs = std::filesystem;

// Depth 1 and the deepest rollback play every replay to its end; the depths
// between play the first 1500 ticks, which hold each replay's start, its
// first fights and (in most) a round end, to keep the suite quick.
constexpr int64_t kWhole = 1000000;
constexpr int64_t kOpening = 1500;

class SyncTestOnReplays : public ::testing::TestWithParam<int> {};

TEST_P(SyncTestOnReplays, EveryReplayedTickHashesAsTheFirstRun) {
  const int depth = GetParam();
  const int64_t ticks = depth == 1 || depth == SyncChecker::kMaxDepth ? kWhole : kOpening;
  const std::vector<fs::path> files = testing::goldenReplayFiles();
  ASSERT_GE(files.size(), 10u);
  for (const fs::path& f : files) {
    const SyncRun run = syncTestScript(testing::readWholeFile(f).value_or(""), depth, ticks);
    ASSERT_FALSE(run.error) << f << ": " << run.error->message;
    EXPECT_FALSE(run.failure) << f.filename() << " depth " << depth << ": tick "
                              << run.failure->tick << " after a rollback at "
                              << run.failure->rolledBackAt << ": " << run.failure->difference;
    EXPECT_GE(run.ticks, std::min<int64_t>(ticks, 3000)) << f.filename();
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, SyncTestOnReplays, ::testing::Range(1, 9));

// The checker finds a state that a copy would not carry: a tick that reads
// something outside the Game plays differently the second time.
TEST(SyncChecker, ReportsAReplayThatDiffers) {
  auto g = std::make_unique<Game>();
  QuietWindow ws(*g);
  openWindow(*g, ws, 7);
  SyncChecker checker(3);
  checker.begin(*g, ws.config());
  play(*g, ws, sim::StartCommand{false, "", false});
  checker.event(sim::StartCommand{false, "", false});
  for (int t = 1; t <= 10; ++t) {
    play(*g, ws, sim::TickCommand{1});
    // Tick 6 of the first run also gets a key press the checker never
    // hears of, as if a key press had bypassed the record.
    if (t == 6) formKeyDown(*g, ws, 65, 0);
    checker.tick(*g);
  }
  ASSERT_TRUE(checker.failure());
  EXPECT_EQ(checker.failure()->tick, 6);
  EXPECT_EQ(checker.failure()->rolledBackAt, 6);
  EXPECT_FALSE(checker.failure()->difference.empty());
}

}  // namespace
}  // namespace zelkar::net
