// Everything a peer sends is untrusted: a hand-made peer sends packets a
// real session never would, and the host drops and counts each, keeps
// running, and still takes the good ones.
#include <gtest/gtest.h>

#include <random>

#include "net/packet.h"
#include "net/session.h"
#include "net/sim_link.h"

namespace zelkar::net {
namespace {

Event keyDown(int16_t key, int16_t shift = 0) {
  return {.kind = Event::Kind::KeyDown, .keyCode = key, .shift = shift};
}

class UntrustedPeer : public ::testing::Test {
 protected:
  UntrustedPeer() : net_(SimLinkConfig{}), host_(net_.end(0), hostConfig()), peer_(net_.end(1)) {}

  static SessionConfig hostConfig() {
    SessionConfig c;
    c.code = "7Z";
    c.settings = ConfigValues{1, 10, 0};  // the right side's keys are the keypad's
    return c;
  }
  void poll(int times = 1) {
    for (int i = 0; i < times; ++i) {
      now_ += 1000;
      host_.poll(now_);
      peer_.service(now_);
      std::vector<uint8_t> bytes;
      while (peer_.receive(bytes)) {
        const auto p = readPacket(bytes);
        if (p && std::holds_alternative<Inputs>(p->body))
          hostHashAck_ = std::get<Inputs>(p->body).hashAck;
        else if (p)
          heard_ = p;
      }
    }
  }
  void send(Channel ch, std::vector<uint8_t> bytes) {
    peer_.send(ch, bytes);
    poll();
  }
  void sendInputs(uint32_t ack, uint32_t first, std::vector<FrameEvents> frames) {
    Inputs in;
    in.ack = ack, in.frame = first + uint32_t(frames.size()), in.first = first;
    in.frames = std::move(frames);
    send(Channel::Unreliable, writePacket(in));
  }
  void greet() {
    poll();
    send(Channel::Reliable, writePacket(Hello{"7Z", 2}));
    ASSERT_EQ(host_.phase(), Phase::Running);
    ASSERT_EQ(host_.localSide(), Side::Left);
  }

  SimNetwork net_;
  Session host_;
  Link& peer_;
  int64_t now_ = 0;
  uint32_t hostHashAck_ = 1;     // in the host's last Inputs
  std::optional<Packet> heard_;  // the host's last other packet
};

TEST_F(UntrustedPeer, BadPacketsAreDroppedAndCountedAndGoodOnesStillCount) {
  greet();
  // Cut short or overlong packets are the reader's (packet_test.cpp).
  const std::vector<std::vector<uint8_t>> garbage = {
      {'Z', 'X', kProtocolVersion, 4},
      {'Z', 'N', kProtocolVersion, 99},
  };
  for (const auto& g : garbage) send(Channel::Unreliable, g);
  int64_t bad = int64_t(garbage.size());
  EXPECT_EQ(host_.stats().malformedPackets, bad);

  // The host's own side's key (A, left), a key no player has, a start
  // button only the host may press, a release of nothing, Ctrl+F1.
  const Event start{.kind = Event::Kind::Start},
      upOfNothing{.kind = Event::Kind::KeyUp, .keyCode = 65};
  for (const Event& e : {keyDown(65), keyDown(13), start, upOfNothing, keyDown(112, 2)}) {
    sendInputs(0, 0, {{}, {e}});
    EXPECT_EQ(host_.stats().malformedPackets, ++bad) << int(e.kind) << " " << e.keyCode;
  }
  sendInputs(500, 0, {{}});  // acknowledges frames the host never sent
  sendInputs(0, 3, {{}});    // skips frames 0..2
  EXPECT_EQ(host_.stats().malformedPackets, bad += 2);
  send(Channel::Unreliable, writePacket(Refuse{RefuseReason::WrongCode}));  // mid-match
  EXPECT_EQ(host_.stats().malformedPackets, ++bad);
  EXPECT_EQ(host_.phase(), Phase::Running);
  EXPECT_TRUE(host_.confirmedCommands().size() == 2);  // config and seed: nothing confirmed

  // Its own keys (keypad 4 down, up) and Ctrl+F2 are taken.
  const int16_t keypad4 = 100;
  const Event up{.kind = Event::Kind::KeyUp, .keyCode = keypad4};
  sendInputs(0, 0, {{}, {keyDown(keypad4)}, {up}, {keyDown(113, 2)}});
  poll(20);
  EXPECT_EQ(host_.stats().malformedPackets, bad);
  std::string record = sim::replayText(host_.confirmedCommands());
  EXPECT_NE(record.find("down 100\nup 100\n"), std::string::npos) << record;
  EXPECT_NE(record.find("down 113 2\n"), std::string::npos) << record;

  // A frame it sent before, now told differently, is not believed.
  sendInputs(0, 1, {{keyDown(102)}});
  EXPECT_EQ(host_.stats().malformedPackets, bad + 1);
  poll(20);
  record = sim::replayText(host_.confirmedCommands());
  EXPECT_EQ(record.find("down 102"), std::string::npos);
}

// A peer of another protocol version is told the host's and why.
TEST_F(UntrustedPeer, AJoinerOfAnotherVersionIsRefusedWithTheHostsVersion) {
  poll(20);
  send(Channel::Unreliable, writePacket(Hello{"7Z", 2}, kProtocolVersion + 1));
  poll(80);
  EXPECT_EQ(host_.phase(), Phase::WaitingForPeer);
  const std::vector<TurnedAway> away = host_.takeTurnedAway();
  ASSERT_EQ(away.size(), 1u);
  EXPECT_EQ(away[0].reason, RefuseReason::WrongVersion);
  ASSERT_TRUE(heard_ && std::holds_alternative<Refuse>(heard_->body));
  EXPECT_EQ(heard_->version, kProtocolVersion);
  EXPECT_EQ(std::get<Refuse>(heard_->body).reason, RefuseReason::WrongVersion);
}

// The hashes of confirmed ticks are compared: the first that differs
// stops the match and names its tick; the ticks before it agreed.
TEST_F(UntrustedPeer, AHashThatDiffersStopsTheMatchNamingItsTick) {
  greet();
  const int64_t started = host_.frame();  // the next frame takes the start
  host_.start(sim::StartCommand{});
  while (host_.frame() == started) poll();
  sendInputs(uint32_t(host_.frame()), 0, std::vector<FrameEvents>(std::size_t(started + 6)));
  poll(200);  // 20 frames are due; the peer's inputs confirm six ticks
  const std::vector<ConfirmedTick> ticks = host_.takeConfirmedTicks();
  ASSERT_EQ(ticks.size(), 6u);
  for (std::size_t i = 0; i < ticks.size(); ++i) EXPECT_EQ(ticks[i].tick, int64_t(i) + 1);
  send(Channel::Reliable, writePacket(Hashes{1, {ticks[0].hash, ticks[1].hash}}));
  EXPECT_EQ(host_.phase(), Phase::Running);
  send(Channel::Reliable, writePacket(Hashes{3, {ticks[2].hash, ticks[3].hash ^ 1}}));
  EXPECT_EQ(host_.phase(), Phase::Ended);
  EXPECT_EQ(host_.outcome(), Outcome::Desync);
  EXPECT_EQ(host_.desyncTick(), 4);
  // Over once the peer has our hashes, so that it finds the tick too.
  EXPECT_FALSE(host_.finished());
  Inputs ack;
  ack.ack = uint32_t(host_.frame()), ack.hashAck = 7, ack.frame = uint32_t(started + 6);
  ack.first = uint32_t(started + 6);
  send(Channel::Unreliable, writePacket(ack));
  EXPECT_TRUE(host_.finished());
  EXPECT_EQ(host_.stats().malformedPackets, 0);
}

// Packets a peer could make by flipping bytes of good ones: whatever they
// say, the host stays up, counts what it refuses and keeps its own game.
TEST_F(UntrustedPeer, MangledPacketsNeverHurtTheHost) {
  greet();
  std::mt19937_64 rng(11);
  Inputs good;
  good.frames = {{}, {keyDown(100)}, {}, {keyDown(113, 2)}};
  const std::vector<std::vector<uint8_t>> models = {
      writePacket(good), writePacket(Hashes{1, {42, 43}}), writePacket(Bye{}),
      writePacket(Hello{"7Z", 2})};
  for (int i = 0; i < 3000; ++i) {
    std::vector<uint8_t> bytes = models[rng() % models.size()];
    for (int flips = 1 + int(rng() % 3); flips > 0; --flips) {
      if (rng() % 4 == 0 && !bytes.empty())
        bytes.resize(rng() % bytes.size());
      else if (!bytes.empty())
        bytes[rng() % bytes.size()] = uint8_t(rng());
    }
    peer_.send(rng() % 2 ? Channel::Reliable : Channel::Unreliable, bytes);
    poll();
  }
  // A peer this wrong may well have been found out (a hash, a bye), but
  // the host has run its frames and counted the bad packets.
  EXPECT_GT(host_.stats().malformedPackets, 1000);
  EXPECT_LE(host_.stats().maxRollbackFrames, kMaxFramesAhead);
  EXPECT_GT(host_.frame(), 0);
}

// A Bye mid-match, then nothing: the silence clock still runs.
TEST_F(UntrustedPeer, AByeThenSilenceEndsTheSessionAfterThreeSeconds) {
  greet();
  send(Channel::Unreliable, writePacket(Bye{}));
  poll(int(kSilenceMicros / 1000) + 20);
  EXPECT_EQ(host_.outcome(), Outcome::ConnectionLost);
  EXPECT_TRUE(host_.finished());
}

// A peer whose every packet is refused is as silent as one that sends
// nothing.
TEST_F(UntrustedPeer, OnlyMalformedPacketsCountAsSilence) {
  greet();
  for (int i = 0; i < 340 && host_.phase() != Phase::Ended; ++i) {
    send(Channel::Unreliable, {'Z', 'N', kProtocolVersion, 99});
    sendInputs(500, 0, {{}});  // well formed, but acknowledges frames never sent
    poll(8);
  }
  EXPECT_EQ(host_.outcome(), Outcome::ConnectionLost);
  EXPECT_GT(host_.stats().malformedPackets, 500);
}

// Hashes far ahead of what the host has confirmed: it keeps at most its
// backlog (1024) and acknowledges no more, so they cannot fill its memory.
TEST_F(UntrustedPeer, HashesAheadOfTheMatchAreKeptOnlyUpToTheBacklog) {
  greet();
  for (uint32_t first = 1; first < 20000; first += 64) {
    peer_.send(Channel::Unreliable, writePacket(Hashes{first, std::vector<uint64_t>(64, 7)}));
    if (first % 1024 == 1) sendInputs(uint32_t(host_.frame()), 0, {{}});
  }
  poll(50);
  EXPECT_EQ(hostHashAck_, 1u + 1024u);
  EXPECT_EQ(host_.phase(), Phase::Running);
}

// A peer that claims to be far behind while it keeps pace cannot slow the
// host: two seconds run two hundred frames of 10 ms.
TEST_F(UntrustedPeer, AClaimedAdvantageCannotSlowTheHost) {
  greet();
  const int64_t startFrame = host_.frame();
  uint32_t next = 0;
  for (int ms = 0; ms < 2000; ++ms) {
    Inputs in;
    in.ack = uint32_t(host_.frame()), in.first = next, in.frame = next + 1;
    in.advantage = -128;
    in.frames = {{}};
    if (next < host_.frame()) {
      peer_.send(Channel::Unreliable, writePacket(in));
      ++next;
    }
    poll();
  }
  EXPECT_GE(host_.frame() - startFrame, 195);
  EXPECT_EQ(host_.phase(), Phase::Running);
}

}  // namespace
}  // namespace zelkar::net
