// Two real zelkar-sim processes playing over UDP on 127.0.0.1: the same
// confirmed hashes on both sides, replay files that play back to them, and
// a wrong session code refused with a clear message.
// Every run is bounded by `timeout`.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "headless/replay.h"
#include "net/enet_link.h"
#include "support/golden_replays.h"

namespace zelkar::sim {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& p) { return testing::readWholeFile(p).value_or(""); }

void writeAll(const fs::path& p, std::string_view text) {
  std::ofstream(p, std::ios::binary) << text;
}

// A UDP port free a moment ago, for a host that must be told one.
uint16_t freePort() {
  std::string error;
  auto probe = net::EnetLink::listen({"127.0.0.1", 0}, error);
  EXPECT_TRUE(probe) << error;
  return probe ? probe->localPort() : 0;
}

class NetTwins : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zelkar-twins-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(dir_);
  }

  // A shell command running zelkar-sim in the folder, its output and exit
  // status landing in side.out, side.err and side.rc.
  std::string simIn(const std::string& args, const std::string& side, int timeoutSeconds) {
    return "cd '" + dir_.string() + "' && (timeout " + std::to_string(timeoutSeconds) + " '" +
           ZELKAR_SIM_PATH + "' " + args + " >" + side + ".out 2>" + side + ".err; echo $? >" +
           side + ".rc)";
  }
  // Runs both sides at once, the host first.
  void runPair(const std::string& hostArgs, const std::string& joinArgs) {
    const std::string cmd =
        simIn(hostArgs, "host", 40) + " & sleep 0.3; " + simIn(joinArgs, "join", 40) + "; wait";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }
  int rc(const char* side) { return std::stoi(readAll(dir_ / (std::string(side) + ".rc"))); }
  std::string file(const std::string& name) { return readAll(dir_ / name); }

  fs::path dir_;
};

TEST_F(NetTwins, BothSidesConfirmTheSameTicksAndRecordTheSameMatch) {
  writeAll(dir_ / "host.zsim",
           "seed 31\nconfig 1 10 0\nstart random\ntick 40\ndown 87\ntick 60\n"
           "up 87\ndown 32\ntick 100\n");
  writeAll(dir_ / "join.zsim", "config 1 10 0\ntick 30\ndown 104\ntick 50\nup 104\ntick 20\n");
  const std::string port = std::to_string(freePort());
  runPair("--host 127.0.0.1:" + port + " --code Q4 --script host.zsim --dump hash --record h.zrp",
          "--join 127.0.0.1:" + port + " --code Q4 --script join.zsim --dump hash --record j.zrp");
  ASSERT_EQ(rc("host"), 0) << file("host.err");
  ASSERT_EQ(rc("join"), 0) << file("join.err");
  const std::string hashes = file("host.out");
  const auto read = readHashLines(hashes);
  ASSERT_TRUE(read);
  // The host's 200 ticks, then the frame that carries its end.
  EXPECT_EQ(read->size(), 201u);
  EXPECT_EQ(file("join.out"), hashes);
  // Either replay file plays the same match in a local run.
  for (const char* replay : {"h.zrp", "j.zrp"}) {
    const HashRun local = replayHashes(file(replay));
    ASSERT_FALSE(local.error) << replay;
    EXPECT_EQ(local.hashes, *read) << replay;
  }
  EXPECT_NE(file("host.err").find("session code Q4"), std::string::npos);
}

// The caller with the wrong code is refused and told so; the host waits on
// (until `timeout` stops it after 3 s, by SIGTERM: status 124) and says
// whom it turned away.
TEST_F(NetTwins, WrongSessionCodeIsRefusedToTheCallerAndTheHostWaitsOn) {
  writeAll(dir_ / "s.zsim", "tick 10\n");
  const std::string port = std::to_string(freePort());
  const std::string cmd =
      simIn("--host 127.0.0.1:" + port + " --code RIGHT --script s.zsim --dump hash", "host", 3) +
      " & sleep 0.3; " +
      simIn("--join 127.0.0.1:" + port + " --code WRONG --script s.zsim", "join", 10) + "; wait";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_EQ(rc("host"), 124);
  EXPECT_EQ(rc("join"), 3);
  EXPECT_NE(file("host.err").find("(wrong session code); 1 so far"), std::string::npos)
      << file("host.err");
  EXPECT_NE(file("host.err").find("stopped by signal 15"), std::string::npos) << file("host.err");
  EXPECT_NE(file("join.err").find("session codes differ"), std::string::npos) << file("join.err");
}

}  // namespace
}  // namespace zelkar::sim
