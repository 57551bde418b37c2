// Each side's script fed into an online session: over the simulated link,
// which lines a side may hold, and that key lines land after exactly the
// ticks of the shared match their tick lines count, whatever the link does;
// then in two real processes.
#include "headless/net_script.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "headless/replay.h"
#include "net/enet_link.h"
#include "net/session_pair.h"
#include "support/golden_replays.h"

namespace zelkar::sim {
namespace {

std::vector<ScriptLine> lines(std::string_view text) {
  ParsedScript p = parseScript(text);
  EXPECT_FALSE(p.error) << p.error->message;
  return p.commands;
}

TEST(SideScript, HostReadsItsSettingsAndLoadSeed) {
  ScriptSetup setup;
  EXPECT_FALSE(checkSideScript(lines("config 0 20 0\nseed 99\nstart random\ntick 5\n"),
                               net::Role::Host, setup));
  EXPECT_EQ(setup.settings.keypadMode, 0);
  EXPECT_EQ(setup.settings.tickInterval, 20);
  EXPECT_EQ(setup.settings.soundOn, 0);
  EXPECT_EQ(setup.loadSeed, 99u);
}

TEST(SideScript, RefusesLinesThatBelongToTheOtherSideOrTooLate) {
  struct Case {
    const char* script;
    net::Role role;
    int line;
  };
  const Case cases[] = {
      {"tick 3\nstart random\n", net::Role::Joiner, 2},  // only the host starts
      {"seed 4\n", net::Role::Joiner, 1},                // the host's seed builds the arena
      {"down 65\nseed 4\n", net::Role::Host, 2},         // would reach one machine only
      {"down 65\nconfig 1 10 1\n", net::Role::Host, 2},  // settings are fixed at opening
      {"tick 1\nconfig 1 10 1\n", net::Role::Joiner, 2},
  };
  for (const Case& c : cases) {
    ScriptSetup setup;
    const auto e = checkSideScript(lines(c.script), c.role, setup);
    ASSERT_TRUE(e) << c.script;
    EXPECT_EQ(e->line, c.line) << c.script;
  }
}

// Plays two side scripts against each other on a virtual clock; the
// joiner's keys are the keypad's.
struct Twins : net::testing::SessionPair {
  ScriptFeeder hostFeed, joinerFeed;

  static net::SessionConfig keypadJoiner() {
    net::SessionConfig c = joinerConfig();
    c.settings = ConfigValues{1, 10, 0};
    return c;
  }
  Twins(const net::SimLinkConfig& link, std::string_view hostScript, std::string_view joinerScript)
      : SessionPair(link, hostConfig(), keypadJoiner()),
        hostFeed(lines(hostScript), net::Role::Host),
        joinerFeed(lines(joinerScript), net::Role::Joiner) {}

  bool play(int64_t limitMicros) {
    while (now < limitMicros) {
      now += 1000;
      host.poll(now);
      hostFeed.step(host);
      joiner.poll(now);
      joinerFeed.step(joiner);
      if (host.finished() && joiner.finished()) return true;
    }
    return false;
  }
};

// The ticks before each key event of a replay, as "down 68 @50".
std::vector<std::string> keyTimes(const std::vector<Command>& commands) {
  std::vector<std::string> out;
  int64_t ticks = 0;
  for (const Command& c : commands) {
    if (const auto* t = std::get_if<TickCommand>(&c)) ticks += t->count;
    if (const auto* d = std::get_if<KeyDownCommand>(&c))
      out.push_back("down " + std::to_string(d->keyCode) + " @" + std::to_string(ticks));
    if (const auto* u = std::get_if<KeyUpCommand>(&c))
      out.push_back("up " + std::to_string(u->keyCode) + " @" + std::to_string(ticks));
  }
  return out;
}

TEST(ScriptFeeder, KeysLandAtTheirTicksOfTheSharedMatch) {
  const char* hostScript = "start random\ntick 50\ndown 68\ntick 30\nup 68\ntick 100\n";
  // The joiner's lines wait for the host's start, then count from it.
  const char* joinerScript = "tick 60\ndown 102\ntick 60\nup 102\n";
  for (const int64_t latency : {0, 30000, 75000}) {
    net::SimLinkConfig link;
    link.latencyMicros = latency;
    link.jitterMicros = latency > 0 ? 5000 : 0;
    link.loss = latency > 0 ? 0.05 : 0;
    link.seed = uint64_t(latency) + 3;
    Twins t(link, hostScript, joinerScript);
    ASSERT_TRUE(t.play(30'000'000)) << "latency " << latency;
    EXPECT_EQ(t.host.outcome(), net::Outcome::BothScriptsDone);
    const auto& merged = t.host.confirmedCommands();
    EXPECT_EQ(replayText(merged), replayText(t.joiner.confirmedCommands()));
    // 68 is D, the left player's "right"; 102 is keypad 6, the right
    // player's on keyboard kind 1.
    const std::vector<std::string> want = {"down 68 @50", "down 102 @60", "up 68 @80",
                                           "up 102 @120"};
    EXPECT_EQ(keyTimes(merged), want) << "latency " << latency;
    // The host's script is the longer: 180 ticks, then the frame that
    // carries its end runs one more.
    const HashRun local = replayHashes(replayText(merged));
    EXPECT_EQ(local.hashes.size(), 181u);
  }
}

// Two real zelkar-sim processes playing over UDP on 127.0.0.1: the same
// confirmed hashes on both sides, replay files that play back to them, and
// a wrong session code refused with a clear message. Every run is bounded
// by `timeout`.
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
