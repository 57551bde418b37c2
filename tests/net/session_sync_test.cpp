// Two sessions over a simulated network playing random keys on both sides:
// whatever the network does, every confirmed tick hashes alike on both
// machines, and the merged record replays to the same hashes alone.
#include <gtest/gtest.h>

#include <random>

#include "headless/replay.h"
#include "net/play.h"
#include "net/side_keys.h"
#include "session_pair.h"

namespace zelkar::net::testing {
namespace {

struct Network {
  const char* name;
  int64_t roundTripMs;
  double loss;
  double duplicate;
  double reorder;
  int inputDelay;
};

void PrintTo(const Network& n, std::ostream* os) { *os << n.name; }

// The keys a player presses on its own machine: the left player's letters,
// or the right player's keys for that machine's keyboard kind.
class RandomPlayer {
 public:
  RandomPlayer(uint64_t seed, KeyTable keys) : rng_(seed), keys_(keys) {}
  void play(Session& s) {
    // About one key event every 8 frames; a key goes down, later up.
    if (rng_() % 8 != 0) return;
    const std::size_t c = rng_() % 8;
    if (held_[c])
      s.localKeyUp(keys_[c]);
    else
      s.localKeyDown(keys_[c], 0);
    held_[c] = !held_[c];
  }

 private:
  std::mt19937_64 rng_;
  KeyTable keys_;
  std::array<bool, 8> held_{};
};

constexpr int64_t kTicks = 6000;

class TwoSessions : public ::testing::TestWithParam<Network> {};

TEST_P(TwoSessions, EveryConfirmedTickHashesAlikeOnBothSidesAndInTheRecord) {
  const Network n = GetParam();
  SimLinkConfig link;
  link.latencyMicros = n.roundTripMs * 1000 / 2;
  link.jitterMicros = 10000;
  link.loss = n.loss;
  link.duplicate = n.duplicate;
  link.reorder = n.reorder;
  link.seed = uint64_t(n.roundTripMs * 7919 + int64_t(n.loss * 100));
  SessionConfig h = SessionPair::hostConfig(), j = SessionPair::joinerConfig();
  h.inputDelayFrames = j.inputDelayFrames = n.inputDelay;
  SessionPair p(link, h, j);
  ASSERT_TRUE(p.connect());

  RandomPlayer left(1, kLeftPlayerKeys), right(2, rightPlayerKeys(0));  // the joiner's letters
  int64_t hostFrame = 0, joinerFrame = 0;
  bool doneSaid = false;
  const int64_t limit = p.now + 3 * kTicks * 10000;  // three times the match's own length
  while (p.now < limit && !(p.host.finished() && p.joiner.finished())) {
    p.advance();
    if (p.host.frame() != hostFrame) {
      hostFrame = p.host.frame();
      const Game& g = p.host.game();
      // The host starts each match, with friction on every other one.
      if (g.screen.Picture2.visible && hostFrame % 50 == 0)
        p.host.start(sim::StartCommand{false, "", hostFrame % 100 == 0});
      if (g.awaitingAnswer) p.host.answer("Y");
      left.play(p.host);
    }
    if (p.joiner.frame() != joinerFrame) {
      joinerFrame = p.joiner.frame();
      if (p.joiner.game().awaitingAnswer) p.joiner.answer("y");
      right.play(p.joiner);
      // One stop in the middle: the host starts again.
      if (joinerFrame == 3000) p.joiner.stop();
    }
    if (!doneSaid && int64_t(p.hostTicks.size()) >= kTicks &&
        int64_t(p.joinerTicks.size()) >= kTicks) {
      doneSaid = true;
      p.host.done();
      p.joiner.done();
    }
  }
  ASSERT_TRUE(p.host.finished() && p.joiner.finished())
      << "host " << int(p.host.outcome()) << " joiner " << int(p.joiner.outcome());
  EXPECT_EQ(p.host.outcome(), Outcome::BothScriptsDone);
  EXPECT_EQ(p.joiner.outcome(), Outcome::BothScriptsDone);
  ASSERT_GE(int64_t(p.hostTicks.size()), kTicks);
  ASSERT_EQ(p.hostTicks.size(), p.joinerTicks.size());
  for (std::size_t i = 0; i < p.hostTicks.size(); ++i) {
    ASSERT_EQ(p.hostTicks[i].tick, int64_t(i) + 1);
    ASSERT_EQ(p.hostTicks[i].tick, p.joinerTicks[i].tick);
    ASSERT_EQ(p.hostTicks[i].hash, p.joinerTicks[i].hash) << "tick " << i + 1;
  }

  // Both records are the same match, and zelkar-sim plays it alone.
  const std::string record = sim::replayText(p.host.confirmedCommands());
  EXPECT_EQ(record, sim::replayText(p.joiner.confirmedCommands()));
  // The host's own keys are in it (the joiner's: InputDelay, SideKeys).
  EXPECT_NE(record.find("\ndown 65"), std::string::npos);  // A, left
  const sim::HashRun replay = sim::replayHashes(record);
  ASSERT_FALSE(replay.error) << replay.error->message;
  ASSERT_EQ(replay.hashes.size(), p.hostTicks.size());
  for (std::size_t i = 0; i < replay.hashes.size(); ++i)
    ASSERT_EQ(replay.hashes[i], p.hostTicks[i].hash) << "tick " << i + 1;

  // The network did what was asked of it, and the session had to work.
  const SessionStats& hs = p.host.stats();
  EXPECT_EQ(hs.malformedPackets, 0);
  EXPECT_EQ(p.joiner.stats().malformedPackets, 0);
  if (n.roundTripMs > 0) {
    EXPECT_GT(hs.rollbacks + p.joiner.stats().rollbacks, 0);
  }
  EXPECT_LE(hs.maxRollbackFrames, kMaxFramesAhead);
  if (n.loss > 0) {
    EXPECT_GT(p.network.counters().lost, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Networks, TwoSessions,
    ::testing::Values(Network{"rtt0", 0, 0, 0, 0, 0},
                      Network{"rtt60_loss5_dup_reorder", 60, 0.05, 0.05, 0.1, 0},
                      Network{"rtt150_loss5", 150, 0.05, 0.02, 0.05, 0},
                      Network{"rtt60_loss20_dup_reorder", 60, 0.20, 0.1, 0.2, 0},
                      Network{"rtt150_loss20_delay2", 150, 0.20, 0.05, 0.1, 2}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zelkar::net::testing
