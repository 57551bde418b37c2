// Every replay in tests/replays must play exactly the match whose per-tick
// state hashes are stored beside it (NAME.zrp, NAME.hashes). A change of
// the rules that is meant to change matches regenerates the hashes with
// scripts/make-golden; any other difference is a regression. On a
// difference the states at the last agreeing tick and at the first
// differing one are written out as JSON, and scripts/golden-diff names the
// first value that differs from the stored match, with both values, by
// playing the replay with the commit that wrote its hashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "headless/replay.h"
#include "support/golden_replays.h"

namespace zelkar::sim {
namespace {

namespace fs = std::filesystem;

// Writes the state after `tick` ticks and names the file, for the report.
std::string dumpState(const std::string& script, const fs::path& replay, int64_t tick) {
  if (tick < 1) return "(none: the first tick differs)";
  const auto state = replayStateAt(script, tick);
  if (!state) return "(no state: the replay has fewer ticks)";
  fs::create_directories(ZELKAR_REPLAY_FAILURE_DIR);
  const fs::path out = fs::path(ZELKAR_REPLAY_FAILURE_DIR) /
                       (replay.stem().string() + ".tick" + std::to_string(tick) + ".json");
  std::ofstream(out) << *state << '\n';
  return out.string();
}

class GoldenReplay : public ::testing::TestWithParam<fs::path> {};

TEST_P(GoldenReplay, PlaysTheStoredMatch) {
  const fs::path replay = GetParam();
  fs::path hashesPath = replay;
  hashesPath.replace_extension(".hashes");
  const auto script = testing::readWholeFile(replay);
  ASSERT_TRUE(script) << "cannot read " << replay;
  const auto hashesText = testing::readWholeFile(hashesPath);
  ASSERT_TRUE(hashesText) << "no " << hashesPath << ": run scripts/make-golden";
  const auto expected = readHashLines(*hashesText);
  ASSERT_TRUE(expected) << hashesPath << " is not a list of tick hashes";

  const HashRun run = replayHashes(*script);
  ASSERT_FALSE(run.error) << replay << ": line " << run.error->line << ": " << run.error->message;
  ASSERT_GE(run.hashes.size(), 3000u) << "a golden replay plays at least 3000 ticks";
  const auto [got, want] =
      std::mismatch(run.hashes.begin(), run.hashes.end(), expected->begin(), expected->end());
  if (got == run.hashes.end() && want == expected->end()) return;

  const int64_t tick = (got - run.hashes.begin()) + 1;
  std::ostringstream report;
  report << replay.filename().string() << " differs first at tick " << tick << " of "
         << run.hashes.size() << " (stored: " << expected->size() << " ticks)";
  if (got != run.hashes.end() && want != expected->end())
    report << ": hash " << hashLine(tick, *got) << ", stored " << hashLine(tick, *want);
  report << "\n  state before it: " << dumpState(*script, replay, tick - 1)
         << "\n  state at it:     " << dumpState(*script, replay, tick)
         << "\nThe first value that differs, with both values: scripts/golden-diff "
         << replay.stem().string() << "\nIf the rules changed on purpose, run scripts/make-golden.";
  ADD_FAILURE() << report.str();
}

// Named by the file: a name gtest cannot take fails loudly when registered.
INSTANTIATE_TEST_SUITE_P(Replays, GoldenReplay, ::testing::ValuesIn(testing::goldenReplayFiles()),
                         [](const auto& info) { return info.param.stem().string(); });

}  // namespace
}  // namespace zelkar::sim
