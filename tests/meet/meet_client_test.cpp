// The game's side of meeting by code: what it sends when, what it makes of
// the answers, and the punch packets, with a hand-set clock.
#include "net/meet_client.h"

#include <gtest/gtest.h>

#include "meet_point.h"
#include "net/punch.h"

namespace zelkar::net {
namespace {

using meet::Address;
using meet::Kind;
using meet::Message;

using meet::testing::kHostLan;
using meet::testing::kJoinerLan;
using meet::testing::message;
constexpr Address kHostPublic{0xC6120002, 41830};
constexpr Address kJoinerPublic{0xC6120003, 50001};

TEST(MeetClient, HostRegistersPollsAndLearnsTheJoiner) {
  MeetClient c = MeetClient::host(42, kHostLan);
  const auto first = meet::readMessage(*c.due(0));
  EXPECT_EQ(first->kind, Kind::Register);
  EXPECT_EQ(first->local, kHostLan);
  EXPECT_FALSE(c.due(499));  // repeated every 500 ms until answered
  EXPECT_TRUE(c.due(500));

  Message reg = message(Kind::Registered, 41, "ABCD2345");  // another nonce: not ours
  reg.peer = kHostPublic;
  c.receive(meet::writeMessage(reg), 600);
  EXPECT_EQ(c.state(), MeetClient::State::Asking);
  reg.nonce = 42;
  c.receive(meet::writeMessage(reg), 600);
  EXPECT_EQ(c.state(), MeetClient::State::Waiting);
  EXPECT_EQ(c.code(), "ABCD2345");
  EXPECT_EQ(c.publicSelf(), kHostPublic);

  EXPECT_FALSE(c.due(849));  // polls every 250 ms from the answer on
  EXPECT_EQ(meet::readMessage(*c.due(850)), message(Kind::Poll, 42, "ABCD2345"));
  Message joining = message(Kind::Joining, 42, "ABCD2345");
  joining.peer = kJoinerPublic;
  joining.local = kJoinerLan;
  joining.token = 99;
  c.receive(meet::writeMessage(joining), 900);
  EXPECT_EQ(c.state(), MeetClient::State::Matched);
  EXPECT_EQ(c.peer(), kJoinerPublic);
  EXPECT_EQ(c.peerLocal(), kJoinerLan);
  EXPECT_EQ(c.token(), 99u);
  EXPECT_FALSE(c.due(2000));
}

TEST(MeetClient, JoinerFailsInWordsOnRefusalOrSilence) {
  MeetClient j = MeetClient::join(7, "ABCD2345", kJoinerLan);
  EXPECT_EQ(meet::readMessage(*j.due(0))->kind, Kind::Lookup);
  // A Found for another code is not this one's answer.
  j.receive(meet::writeMessage(message(Kind::Found, 7, "ABCD2346")), 10);
  EXPECT_EQ(j.state(), MeetClient::State::Asking);
  Message refused = message(Kind::Refused, 7, "");
  refused.reason = meet::Reason::Taken;
  j.receive(meet::writeMessage(refused), 20);
  EXPECT_EQ(j.state(), MeetClient::State::Failed);
  EXPECT_EQ(j.failure(), "someone else has already joined with this code");
  EXPECT_EQ(j.refusal(), meet::Reason::Taken);  // the window's advice follows it

  MeetClient silent = MeetClient::join(8, "ABCD2345", kJoinerLan);
  for (int64_t t = 0; t <= 5000; t += 100) silent.due(t);
  EXPECT_EQ(silent.state(), MeetClient::State::Asking);
  silent.due(5001);
  EXPECT_EQ(silent.state(), MeetClient::State::Failed);
  EXPECT_EQ(silent.failure(), "the meeting point does not answer");
  EXPECT_EQ(silent.refusal(), meet::Reason::None);
}

TEST(Puncher, ProbesAnswersAndTheOpenedPath) {
  // The local address twice and an unknown (zero) one: two probes a turn.
  Puncher p(0x1122334455667788, {kHostPublic, kHostLan, kHostLan, Address{}});
  const auto probes = p.due(0);
  ASSERT_EQ(probes.size(), 2u);
  EXPECT_TRUE(p.due(99).empty());
  EXPECT_EQ(p.due(100).size(), 2u);

  // ZKP1, kind 1 (probe), three zeros, the token big-endian.
  const PunchBytes probe = {'Z',  'K',  'P',  '1',  1,    0,    0,    0,
                            0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
  EXPECT_EQ(probes[0].bytes, probe);
  PunchBytes otherToken = probe;
  otherToken[15] = 0x89;

  std::optional<PunchSend> reply;
  const uint8_t game[] = {0x80, 0x00, 0x01};
  EXPECT_FALSE(p.receive(kJoinerPublic, game, reply));  // ENet's, not ours
  EXPECT_TRUE(p.receive(kJoinerPublic, otherToken, reply));
  EXPECT_FALSE(p.open());
  EXPECT_FALSE(reply);
  // The peer's router gave this flow a port the meeting point never saw:
  // the token vouches for it, and the answer goes where it came from.
  const Address elsewhere{kHostPublic.ip, 60000};
  EXPECT_TRUE(p.receive(elsewhere, probe, reply));
  EXPECT_EQ(p.open(), elsewhere);
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->to, elsewhere);
  EXPECT_EQ(reply->bytes[4], 2);  // an answer
}

}  // namespace
}  // namespace zelkar::net
