// zelkar-sim's online options, --meet's among them, and its sync test, run
// in-process.
#include "headless/net_options.h"

#include <gtest/gtest.h>

#include <sstream>

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

TEST(SimNetOptions, ReadsBothSides) {
  NetOptions o;
  EXPECT_EQ(parseNetOptions({"--host", "127.0.0.1:0", "--code", "K7", "--seed", "9", "--dump",
                             "hash", "--record", "h.zrp", "--input-delay", "2"},
                            o),
            "");
  EXPECT_EQ(o.online.mode, net::OnlineOptions::Mode::Host);
  EXPECT_EQ(o.online.endpoint, (net::Endpoint{"127.0.0.1", 0}));
  EXPECT_EQ(o.online.code, "K7");
  EXPECT_EQ(o.seed, 9u);
  EXPECT_TRUE(o.dumpHash);
  EXPECT_EQ(o.recordPath, "h.zrp");
  EXPECT_EQ(o.online.inputDelay, 2);
  NetOptions j;
  EXPECT_EQ(parseNetOptions({"--join=box:7", "--code", "K7", "--side", "right"}, j), "");
  EXPECT_EQ(j.online.mode, net::OnlineOptions::Mode::Join);
  EXPECT_EQ(j.online.endpoint, (net::Endpoint{"box", 7}));
  EXPECT_EQ(j.online.side, net::Side::Right);
  // The port is the host's to leave out, as in the window.
  EXPECT_TRUE(j.portmap);
  NetOptions r;
  EXPECT_EQ(parseNetOptions({"--host", "0", "--code", "K", "--no-portmap", "--relay",
                             "turn://9:ann:pw@198.18.0.1", "--relay-peer", "198.18.0.12"},
                            r),
            "");
  EXPECT_FALSE(r.portmap);
  EXPECT_EQ(r.relay, (net::TurnUrl{"198.18.0.1", 3478, "9:ann", "pw"}));
  EXPECT_EQ(r.relayPeers, std::vector<std::string>{"198.18.0.12"});
  NetOptions d;
  EXPECT_EQ(parseNetOptions({"--host", "--code", "K7"}, d), "");
  EXPECT_EQ(d.online.endpoint, (net::Endpoint{"", net::kDefaultPort}));
}

TEST(SimNetOptions, RefusesWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
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
  };
  for (const auto& args : bad) {
    NetOptions o;
    EXPECT_NE(parseNetOptions(args, o), "") << args[0] << " " << args.size();
  }
}

// --meet: a code instead of an address, the session code taken from the
// meeting point, and what it cannot be combined with.
TEST(SimMeetOptions, CodeOrAddress) {
  NetOptions j;
  EXPECT_EQ(parseNetOptions({"--meet", "meet.example", "--join", "abcd-2345"}, j), "");
  EXPECT_EQ(j.meet, (net::Endpoint{"meet.example", 41831}));
  EXPECT_EQ(j.joinCode, "ABCD2345");
  NetOptions h;
  EXPECT_EQ(parseNetOptions({"--host", "0", "--meet", "198.18.0.1:7"}, h), "");
  EXPECT_EQ(h.meet, (net::Endpoint{"198.18.0.1", 7}));
  EXPECT_FALSE(h.online.code);  // the meeting point's code will guard the greeting
  NetOptions d;                 // without --meet, --join still takes an address
  EXPECT_EQ(parseNetOptions({"--join", "box:7", "--code", "K"}, d), "");
  EXPECT_EQ(d.online.endpoint, (net::Endpoint{"box", 7}));

  const std::vector<std::vector<std::string>> wrong = {
      {"--meet", "m", "--join", "box:7"},     // an address is no code
      {"--meet", "m", "--join", "ABCD2O45"},  // O is not in the alphabet
      {"--meet", "m:0", "--host", "0"},       // no port 0 to send to
      {"--meet", "m", "--sync-test", "2"},    // nothing to meet
      {"--join", "box:7"},                    // direct still needs its code
  };
  for (const auto& args : wrong) {
    NetOptions o;
    EXPECT_NE(parseNetOptions(args, o), "") << args[0] << " " << args[1] << " " << args[3];
  }
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

}  // namespace
}  // namespace zelkar::sim
