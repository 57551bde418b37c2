// What a session does when the other machine is silent, leaves, speaks
// another version, gives the wrong code or sends what it may not.
#include <gtest/gtest.h>

#include "net/packet.h"
#include "session_pair.h"

namespace zelkar::net::testing {
namespace {

SimLinkConfig quickLink() {
  SimLinkConfig c;
  c.latencyMicros = 5000;
  return c;
}

// Polls until the session has ended, at most limitMicros; returns when.
int64_t runUntilEnded(SessionPair& p, Session& s, int64_t limitMicros) {
  const int64_t until = p.now + limitMicros;
  while (p.now < until && s.phase() != Phase::Ended) p.advance();
  return p.now;
}

TEST(SilentPeer, IsReportedLostAfterThreeSecondsOnBothSides) {
  SessionPair p(quickLink());
  ASSERT_TRUE(p.connect());
  for (int i = 0; i < 500; ++i) p.advance();
  p.network.cut();
  const int64_t cutAt = p.now;
  // The last packet left just before the cut and arrived one latency later.
  runUntilEnded(p, p.host, 5000000);
  runUntilEnded(p, p.joiner, 5000000);
  EXPECT_EQ(p.host.outcome(), Outcome::ConnectionLost);
  EXPECT_EQ(p.joiner.outcome(), Outcome::ConnectionLost);
  EXPECT_GT(p.now - cutAt, kSilenceMicros - 20000);  // not before 3 s of silence
  EXPECT_LE(p.now - cutAt, kSilenceMicros + 20000);  // and within a poll or two of it
  EXPECT_TRUE(p.host.finished());
}

TEST(SilentPeer, TheLocalSideWaitsEightFramesAheadAtMost) {
  SessionPair p(SimLinkConfig{});
  ASSERT_TRUE(p.connect());
  for (int i = 0; i < 300; ++i) p.advance();
  p.network.cut();
  const int64_t frameAtCut = p.host.frame();
  for (int i = 0; i < 1000; ++i) p.advance();  // a second: a hundred frames were due
  // Inputs are confirmed up to the cut at best; 8 frames beyond, it waits.
  EXPECT_LE(p.host.frame() - frameAtCut, kMaxFramesAhead);
  EXPECT_GE(p.host.frame() - frameAtCut, kMaxFramesAhead - 1);
  EXPECT_GT(p.host.stats().waitedMicros, 900000);
  EXPECT_EQ(p.host.phase(), Phase::Running);  // not yet three seconds
}

TEST(LeavingPeer, AClosedLinkEndsTheSessionAtOnce) {
  SessionPair p(quickLink());
  ASSERT_TRUE(p.connect());
  for (int i = 0; i < 100; ++i) p.advance();
  p.network.close(1, p.now);
  const int64_t closedAt = p.now;
  runUntilEnded(p, p.host, 1000000);
  EXPECT_EQ(p.host.outcome(), Outcome::ConnectionLost);
  EXPECT_LE(p.now - closedAt, 10000);  // one latency, not three seconds
}

// A wrong code, or both wanting one side: neither side plays a frame.
TEST(Greeting, AWrongCodeOrATakenSideIsRefusedOnBothSides) {
  SessionConfig wrongCode = SessionPair::joinerConfig(), sameSide = wrongCode;
  wrongCode.code = "K7Q3";
  sameSide.side = Side::Left, sameSide.sideChosen = true;
  for (const auto& [j, outcome] :
       {std::pair{wrongCode, Outcome::WrongCode}, std::pair{sameSide, Outcome::SideTaken}}) {
    SCOPED_TRACE(int(outcome));
    SessionPair p(quickLink(), SessionPair::hostConfig(), j);
    EXPECT_FALSE(p.connect());
    runUntilEnded(p, p.joiner, 1000000);
    EXPECT_EQ(p.host.outcome(), outcome);
    EXPECT_EQ(p.joiner.outcome(), outcome);
    EXPECT_EQ(p.host.frame(), 0);
    EXPECT_EQ(p.joiner.frame(), 0);
  }
}

TEST(Greeting, TheJoinerMayAskForTheLeftSide) {
  SessionConfig h = SessionPair::hostConfig(), j = SessionPair::joinerConfig();
  h.side = Side::Right;
  j.side = Side::Left, j.sideChosen = true;
  SessionPair p(quickLink(), h, j);
  ASSERT_TRUE(p.connect());
  EXPECT_EQ(p.host.localSide(), Side::Right);
  EXPECT_EQ(p.joiner.localSide(), Side::Left);
}

// A peer of another protocol version, played by hand on the other end.
TEST(Greeting, AJoinerOfAnotherVersionIsRefusedWithTheHostsVersion) {
  SimNetwork net(quickLink());
  Session host(net.end(0), SessionPair::hostConfig());
  Link& stranger = net.end(1);
  int64_t now = 0;
  for (; now < 20000; now += 1000) host.poll(now), stranger.service(now);
  stranger.send(Channel::Reliable, writePacket(Hello{"K7Q2", 2}, kProtocolVersion + 1));
  std::vector<uint8_t> bytes;
  std::optional<Packet> answer;
  for (; now < 100000 && !answer; now += 1000) {
    host.poll(now), stranger.service(now);
    if (stranger.receive(bytes)) answer = readPacket(bytes);
  }
  EXPECT_EQ(host.outcome(), Outcome::WrongVersion);
  EXPECT_EQ(host.peerProtocolVersion(), kProtocolVersion + 1);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->version, kProtocolVersion);
  ASSERT_TRUE(std::holds_alternative<Refuse>(answer->body));
  EXPECT_EQ(std::get<Refuse>(answer->body).reason, RefuseReason::WrongVersion);
}

TEST(Greeting, AHostOfAnotherVersionIsRefusedByTheJoiner) {
  SimNetwork net(quickLink());
  Link& stranger = net.end(0);
  Session joiner(net.end(1), SessionPair::joinerConfig());
  std::vector<uint8_t> bytes;
  bool hello = false;
  int64_t now = 0;
  for (; now < 100000 && !hello; now += 1000) {
    joiner.poll(now), stranger.service(now);
    hello = stranger.receive(bytes);
  }
  ASSERT_TRUE(hello);
  stranger.send(Channel::Reliable, writePacket(Welcome{}, kProtocolVersion + 7));
  for (; now < 200000 && joiner.phase() != Phase::Ended; now += 1000)
    joiner.poll(now), stranger.service(now);
  EXPECT_EQ(joiner.outcome(), Outcome::WrongVersion);
  EXPECT_EQ(joiner.peerProtocolVersion(), kProtocolVersion + 7);
}

}  // namespace
}  // namespace zelkar::net::testing
