// Each side's script fed into an online session over the simulated link:
// which lines a side may hold, and that key lines land after exactly the
// ticks of the shared match their tick lines count, whatever the link does.
#include "headless/net_script.h"

#include <gtest/gtest.h>

#include "headless/replay.h"
#include "net/session_pair.h"

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

}  // namespace
}  // namespace zelkar::sim
