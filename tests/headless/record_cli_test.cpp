// zelkar-sim --record on a local run: a match played by the computer is
// written as the keys it pressed, so the file replays the same match with
// no computer at all and passes the sync test, which refuses cpu lines.
// And --help names every option either parser takes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "headless/cli.h"
#include "headless/cpu_seat.h"
#include "net/sync_test.h"
#include "support/golden_replays.h"

namespace zelkar::sim {
namespace {

namespace fs = std::filesystem;

constexpr int kTicks = 900;  // long enough for both computers to confirm, drive and fire

struct SimRun {
  int status = -1;
  std::string out, err;
};

SimRun simulate(const std::vector<std::string>& args, const std::string& script = "") {
  std::istringstream in(script);
  std::ostringstream out, err;
  SimRun r;
  r.status = simMain(args, in, out, err, "", cpuSeats());
  r.out = out.str();
  r.err = err.str();
  return r;
}

class SimRecord : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_); }
  void TearDown() override { fs::remove_all(dir_); }
  const fs::path dir_ =
      fs::temp_directory_path() / ("zelkar-sim-record-" + std::to_string(::getpid()));
};

TEST_F(SimRecord, AComputerMatchIsRecordedAsKeysThatReplayAndPassTheSyncTest) {
  const std::string record = (dir_ / "cpu.zrp").string();
  const std::string script =
      "start random\ncpu left 3\ncpu right 2\ntick " + std::to_string(kTicks) + "\n";
  const SimRun played = simulate({"--seed", "9", "--record", record, "--dump", "hash"}, script);
  ASSERT_EQ(played.status, kExitOk) << played.err;

  const auto text = testing::readWholeFile(record);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->rfind("zelkar-replay 1\nseed 9\n", 0), 0u) << *text;
  EXPECT_EQ(text->find("\ncpu "), std::string::npos) << "the computer is written as its keys";
  EXPECT_NE(text->find("\ndown "), std::string::npos);

  // Without --seed: the file carries it.
  const SimRun replayed = simulate({"--script", record, "--dump", "hash"});
  ASSERT_EQ(replayed.status, kExitOk) << replayed.err;
  EXPECT_EQ(replayed.out, played.out) << "the recording plays another match";

  const net::SyncRun sync = net::syncTestScript(*text, 3, kTicks);
  EXPECT_FALSE(sync.error) << sync.error->message;
  EXPECT_FALSE(sync.failure) << sync.failure->difference;
  EXPECT_EQ(sync.ticks, kTicks);
}

TEST_F(SimRecord, NeverReplacesItsScriptAndFailsBeforePlayingWhenItCannotWrite) {
  const std::string script = (dir_ / "script.zsim").string();
  const std::string text = "start random\ntick 5\n";
  std::ofstream(script) << text;
  SimRun r = simulate({"--script", script, "--record", script});
  EXPECT_EQ(r.status, kExitBad);
  EXPECT_EQ(testing::readWholeFile(script), text);

  r = simulate({"--script", script, "--record", dir_.string()});  // a folder
  EXPECT_EQ(r.status, kExitIo);
  EXPECT_TRUE(r.out.empty()) << "nothing is played";
  r = simulate({"--record", ""}, text);
  EXPECT_EQ(r.status, kExitBad);
}

TEST(SimHelp, NamesEveryOptionAndExitStatus) {
  const SimRun r = simulate({"--help"});
  ASSERT_EQ(r.status, kExitOk);
  for (const char* option : {"--seed", "--script", "--dump", "--record", "--help", "--host",
                             "--join", "--code", "--meet", "--side", "--input-delay", "--relay",
                             "--relay-peer", "--no-portmap", "--sync-test"}) {
    const bool named = r.out.find(std::string(option) + " ") != std::string::npos ||
                       r.out.find(std::string(option) + ",") != std::string::npos;
    EXPECT_TRUE(named) << option;
  }
  for (const char* status : {"\n  0 ", "\n  1 ", "\n  2 ", "\n  3 ", "\n  128+N "})
    EXPECT_NE(r.out.find(status), std::string::npos) << status;
}

}  // namespace
}  // namespace zelkar::sim
