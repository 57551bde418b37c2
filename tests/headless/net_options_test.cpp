// zelkar-sim's online options, --meet's among them, the files of an online
// run, and its sync test, run in-process.
#include "headless/net_options.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "headless/cli.h"
#include "headless/net_main.h"
#include "support/golden_replays.h"

namespace zelkar::sim {
namespace {

TEST(SimNetOptions, OnlyTheNetOptionsLeaveThePlainRunner) {
  EXPECT_TRUE(wantsNetRun({"--host", "5000"}));
  EXPECT_TRUE(wantsNetRun({"--script", "x", "--join", "h:1"}));
  EXPECT_TRUE(wantsNetRun({"--sync-test", "3"}));
  EXPECT_FALSE(wantsNetRun({"--script", "x", "--dump", "hash"}));
}

// What a command line chooses, in one line: "error", or the mode and where
// (unless through a meeting point), then each option not at its default.
std::string readOut(const std::vector<std::string>& args) {
  NetOptions o;
  if (!parseNetOptions(args, o).empty()) return "error";
  const net::OnlineOptions& n = o.online;
  std::string s = std::array{"none", "host", "join", "sync"}[int(n.mode)];
  if (n.online() && !o.meet) s += " " + n.endpoint.host + ":" + std::to_string(n.endpoint.port);
  if (o.meet) s += " meet=" + o.meet->host + ":" + std::to_string(o.meet->port);
  if (!o.joinCode.empty()) s += " joinCode=" + o.joinCode;
  if (n.code) s += " code=" + *n.code;
  if (n.side) s += n.side == net::Side::Left ? " left" : " right";
  if (n.inputDelay != 0) s += " delay=" + std::to_string(n.inputDelay);
  if (n.syncDepth != 0) s += " sync=" + std::to_string(n.syncDepth);
  if (o.seed != 0) s += " seed=" + std::to_string(o.seed);
  if (o.dumpHash) s += " hash";
  if (!o.recordPath.empty()) s += " record=" + o.recordPath;
  if (!o.portmap) s += " no-portmap";
  if (o.relay)
    s += " relay=" + o.relay->user + ":" + o.relay->password + "@" + o.relay->host + ":" +
         std::to_string(o.relay->port);
  for (const std::string& peer : o.relayPeers) s += " peer=" + peer;
  return s;
}

// Both sides, --meet's code instead of an address (the meeting point's code
// then guards the greeting), and what cannot be combined.
TEST(SimNetOptions, WhatEachCommandLineChoosesOrRefuses) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"--host", "127.0.0.1:0", "--code", "K7", "--seed", "9", "--dump", "hash", "--record",
        "h.zrp", "--input-delay", "2"},
       "host 127.0.0.1:0 code=K7 delay=2 seed=9 hash record=h.zrp"},
      // The port is the host's to leave out, as in the window.
      {{"--host", "--code", "K7"}, "host :41830 code=K7"},
      {{"--join=box:7", "--code", "K7", "--side", "right"}, "join box:7 code=K7 right"},
      {{"--host", "0", "--code", "K", "--no-portmap", "--relay", "turn://9:ann:pw@198.18.0.1",
        "--relay-peer", "198.18.0.12"},
       "host :0 code=K no-portmap relay=9:ann:pw@198.18.0.1:3478 peer=198.18.0.12"},
      {{"--meet", "meet.example", "--join", "abcd-2345"},
       "join meet=meet.example:41831 joinCode=ABCD2345"},
      {{"--host", "0", "--meet", "198.18.0.1:7"}, "host meet=198.18.0.1:7"},
      {{"--join", "box:7", "--code", "K"}, "join box:7 code=K"},  // without --meet, an address
  };
  for (const auto& [args, read] : cases) EXPECT_EQ(readOut(args), read);
  const std::vector<std::vector<std::string>> refused = {
      {"--host", "1"},                                       // no code: anyone could sit down
      {"--host", "1", "--join", "h", "--code", "C"},         // both roles
      {"--join", "h", "--code", "C", "--seed", "0"},         // the host's seed
      {"--host", "1", "--code", "C", "--dump", "ticks"},     // online prints hashes only
      {"--host", "x", "--code", "C"},                        // not a port
      {"--host", "1", "--code", "two words"},                // not a code
      {"--host", "1", "--code", "C", "--input-delay", "9"},  // beyond the rollback window
      {"--sync-test", "0"},
      {"--sync-test", "9"},
      {"--sync-test", "2", "--code", "C"},
      {"--host", "1", "--code", "C", "--frobnicate", "1"},
      {"--host"},                                                    // no code either
      {"--code", "C"},                                               // a code for no session
      {"--host", "1", "--code", "C", "--relay", "u:p@h"},            // not a relay URL
      {"--join", "h", "--code", "C", "--relay-peer", "198.18.0.1"},  // only a relaying host
      {"--host", "1", "--code", "C", "--relay", "turn://u:p@h", "--relay-peer", "h"},  // no IP
      {"--sync-test", "2", "--no-portmap"},
      {"--meet", "m", "--join", "box:7"},     // an address is no code
      {"--meet", "m", "--join", "ABCD2O45"},  // O is not in the alphabet
      {"--meet", "m:0", "--host", "0"},       // no port 0 to send to
      {"--meet", "m", "--sync-test", "2"},    // nothing to meet
      {"--join", "box:7"},                    // direct still needs its code
  };
  for (const auto& args : refused)
    EXPECT_EQ(readOut(args), "error") << args[0] << " " << args.size();
}

// Every golden replay at every depth is SyncTestOnReplays' work; here only
// that zelkar-sim passes its depth on and reports the run.
TEST(SimSyncTest, AGoldenReplayRollsBackAndReplaysTheSame) {
  std::istringstream in(
      testing::readWholeFile(std::string(ZELKAR_REPLAY_DIR) + "/fight.zrp").value_or(""));
  std::ostringstream out, err;
  EXPECT_EQ(netMain({"--sync-test", "3"}, in, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("rolled back 3 ticks"), std::string::npos) << out.str();
}

TEST(SimSyncTest, ABadScriptIsRefusedByLine) {
  std::istringstream in("tick 1\nbogus\n");
  std::ostringstream out, err;
  EXPECT_EQ(netMain({"--sync-test", "2"}, in, out, err), 2);
  EXPECT_NE(err.str().find("line 2"), std::string::npos) << err.str();
}

// An online or sync-test run reads its script by the rules of every script
// and opens its recording before anyone waits for a match: a bad file is
// said at once, not after a session (or never, for a device read without
// end). Nothing here reaches the network.
TEST(SimNetFiles, ScriptAndRecordingAreCheckedBeforeTheSession) {
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::temp_directory_path() / ("zelkar-net-files-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string fifo = (dir / "fifo").string(), script = (dir / "s.zsim").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::ofstream(script) << "tick 10\n";
  const std::vector<std::string> host = {"--host", "127.0.0.1:0", "--code", "C"};
  auto with = [](std::vector<std::string> a, std::initializer_list<std::string> more) {
    a.insert(a.end(), more);
    return a;
  };
  const struct {
    std::vector<std::string> args;
    std::string said;
  } refused[] = {
      {{"--sync-test", "2", "--script", "/dev/zero"}, "is a device"},
      {with(host, {"--script", fifo}), "is a pipe"},
      {with(host, {"--script", script, "--record", dir.string()}), "cannot write"},
      {with(host, {"--script", script, "--record", (dir / "none" / "r.zrp").string()}),
       "cannot write"},
  };
  for (const auto& c : refused) {
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(netMain(c.args, in, out, err), kExitIo) << c.said;
    EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zelkar::sim
