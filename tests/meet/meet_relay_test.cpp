// The fall-back to the relay at the meeting point: the logins it signs,
// who may have them, the swap of relayed addresses, the strict reader of
// the new messages, and the game's side of that conversation.
#include "net/meet_relay.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "meet/options.h"
#include "meet_point.h"

namespace zelkar::meet {
namespace {

constexpr Address kRelay{0xC6120001, 3478};
constexpr Address kHostRelayed{0xC6120001, 50100};
constexpr Address kJoinerRelayed{0xC6120001, 50200};
constexpr uint64_t kHostNonce = 77, kJoinerNonce = 9;
// The point's random numbers are 0x0101..01, 0x0202..02, ...: every byte
// of the first is 1, so the first code is eight times the alphabet's
// letter 1, '3', and the pair token is the second number.
constexpr const char* kCode = "33333333";
constexpr uint64_t kToken = 0x0202020202020202;
constexpr int64_t kNowUnix = 1'700'000'000;

using namespace testing;

Message msg(Kind kind, uint64_t nonce, uint64_t token = 0, Address peer = {}) {
  Message m = message(kind, nonce, kCode);
  m.token = token, m.peer = peer;
  return m;
}

// The point with a relay to offer (or none), its host registered and (or
// not yet) joined.
struct RelayPoint : Point {
  explicit RelayPoint(bool relay = true, bool joined = true) {
    if (relay) server.offerRelay({kRelay, "lab-secret", 6 * 3600, [] { return kNowUnix; }});
    ask(kHost, message(Kind::Register, kHostNonce));
    if (joined) ask(kJoiner, msg(Kind::Lookup, kJoinerNonce));
  }
};

std::string hex(const std::array<uint8_t, 20>& d) {
  std::string s;
  for (uint8_t b : d) s += "0123456789abcdef"[b >> 4], s += "0123456789abcdef"[b & 15];
  return s;
}

TEST(MeetRelay, PointSignsLoginsForThePairOnly) {
  RelayPoint p;
  const auto host = p.ask(kHost, msg(Kind::RelayAsk, kHostNonce));
  ASSERT_TRUE(host && host->kind == Kind::RelayLogin);
  EXPECT_EQ(host->peer, kRelay);
  EXPECT_EQ(host->expiry, 1'700'021'600u);  // now + 6 h
  // HMAC-SHA1("lab-secret", "1700021600:33333333-host"), from
  // `openssl dgst -sha1 -hmac lab-secret`.
  EXPECT_EQ(hex(host->digest), "45d3100b562afa195ea08cfffa62a67fbf3e7fdc");
  const auto joiner = p.ask(kJoiner, msg(Kind::RelayAsk, kJoinerNonce, kToken));
  ASSERT_TRUE(joiner && joiner->kind == Kind::RelayLogin);
  EXPECT_EQ(hex(joiner->digest), "7bdf9d6e1698daea7627d00030558ebcb08d1ced");  // ...-join

  const Address stranger{0xC6120009, 1};
  const struct {
    Message m;
    Reason why;
  } refused[] = {
      {msg(Kind::RelayAsk, kJoinerNonce, kToken + 1), Reason::NotOwner},  // wrong token
      {msg(Kind::RelayAsk, 5, kToken), Reason::NotOwner},                 // wrong nonce
      {msg(Kind::RelayAt, 5, 0, kHostRelayed), Reason::NotOwner},
  };
  for (const auto& c : refused) EXPECT_EQ(p.ask(stranger, c.m)->reason, c.why);
  Message unknown = msg(Kind::RelayAsk, kHostNonce);
  unknown.code = "ABCD2345";
  EXPECT_EQ(p.ask(stranger, unknown)->reason, Reason::UnknownCode);

  // A code nobody has joined yet gets no login, even for its host.
  RelayPoint lone(true, false);
  EXPECT_EQ(lone.ask(kHost, msg(Kind::RelayAsk, kHostNonce))->reason, Reason::NotOwner);

  RelayPoint bare(false);
  EXPECT_EQ(bare.ask(kHost, msg(Kind::RelayAsk, kHostNonce))->reason, Reason::NoRelay);
}

TEST(MeetRelay, PointSwapsTheRelayedAddresses) {
  RelayPoint p;
  // The joiner asks before the host has posted: nothing yet.
  EXPECT_EQ(p.ask(kJoiner, msg(Kind::RelayAt, kJoinerNonce, kToken))->peer, Address{});
  EXPECT_EQ(p.ask(kHost, msg(Kind::RelayAt, kHostNonce, 0, kHostRelayed))->peer, Address{});
  EXPECT_EQ(p.ask(kJoiner, msg(Kind::RelayAt, kJoinerNonce, kToken, kJoinerRelayed))->peer,
            kHostRelayed);
  EXPECT_EQ(p.ask(kHost, msg(Kind::RelayAt, kHostNonce))->peer, kJoinerRelayed);
  // The relay talk keeps the code alive past the host's last poll (30 s).
  EXPECT_EQ(p.ask(kHost, msg(Kind::RelayAt, kHostNonce), 25'000)->kind, Kind::RelayPeer);
  EXPECT_EQ(p.ask(kHost, msg(Kind::RelayAt, kHostNonce), 50'000)->kind, Kind::RelayPeer);
}

TEST(MeetRelay, ReaderTakesOnlyTheFieldsOfEachKind) {
  Message login = msg(Kind::RelayLogin, 3);
  login.token = 0;
  login.peer = kRelay;
  login.expiry = 1'700'021'600;
  login.digest.fill(0xAB);
  const Bytes good = writeMessage(login);
  EXPECT_EQ(readMessage(good), login);
  EXPECT_EQ(good[63], 0xAB);  // the digest fills the message to its end
  auto with = [](const Message& m, std::size_t at, uint8_t v) {
    Bytes b = writeMessage(m);
    b[at] = v;
    return b;
  };
  Message refusal;
  refusal.kind = Kind::Refused;
  refusal.reason = Reason::NoRelay;
  const struct {
    Bytes bytes;
    const char* what;
  } refused[] = {
      {with(login, 30, 1), "a login with a local address"},
      {with(msg(Kind::RelayAsk, 3, 5), 24, 1), "an ask with an address"},
      {with(msg(Kind::RelayAsk, 3, 5), 50, 1), "an ask with a digest"},
      {with(msg(Kind::RelayAt, 3, 5), 30, 1), "a post with a local address"},
      {with(msg(Kind::RelayPeer, 3), 40, 1), "a peer answer with a token"},
      {with(msg(Kind::RelayPeer, 3), 17, 'O'), "a code with a lookalike letter"},
      {with(refusal, 5, 6), "a reason after the last"},
  };
  for (const auto& c : refused) EXPECT_FALSE(readMessage(c.bytes)) << c.what;
  EXPECT_TRUE(readMessage(writeMessage(refusal)));
}

// The game's side asking, allocating and swapping is played through a real
// relay by relay_fallback_test.cpp; its failures, in words, here.
TEST(MeetRelay, GameSideFailsInWordsWithoutARelayOrAnAnswer) {
  using net::MeetRelay;
  RelayPoint bare(false);
  MeetRelay refused(true, kHostNonce, kCode, 0);
  if (const auto out = bare.server.handle(kHost, *refused.due(0), 0)) refused.receive(*out, 0);
  EXPECT_EQ(refused.state(), MeetRelay::State::Failed);
  EXPECT_TRUE(refused.noRelay());
  EXPECT_EQ(refused.failure(), "the meeting point has no relay server to play through");
  MeetRelay silent(false, kJoinerNonce, kCode, kToken);
  for (int64_t t = 0; t <= 5250; t += 250) silent.due(t);
  EXPECT_EQ(silent.state(), MeetRelay::State::Failed);
  EXPECT_EQ(silent.failure(), "the meeting point does not answer");
}

TEST(MeetRelay, SecretFileGivesItsFirstLine) {
  // The line break an editor adds is not part of the secret: with it the
  // logins' digests would all be wrong.
  const auto path =
      std::filesystem::temp_directory_path() / ("zelkar-meet-secret-" + std::to_string(getpid()));
  const struct {
    std::string text;
    std::optional<std::string> secret;
  } files[] = {
      {"north-wind\n", "north-wind"},
      {"north-wind \r\nsecond line\n", "north-wind"},
      {"\n", std::nullopt},
      {std::string(5000, 'x'), std::nullopt},
  };
  for (const auto& f : files) {
    std::ofstream(path, std::ios::binary) << f.text;
    std::string error;
    EXPECT_EQ(readSecretFile(path.string(), error), f.secret) << error;
  }
  std::filesystem::remove(path);
  std::string error;
  EXPECT_FALSE(readSecretFile(path.string(), error));
}

}  // namespace
}  // namespace zelkar::meet
