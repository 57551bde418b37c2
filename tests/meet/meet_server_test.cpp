// The meeting point's messages and rules, driven with hand-made datagrams
// and a hand-set clock.
#include <gtest/gtest.h>

#include <vector>

#include "meet_point.h"

namespace zelkar::meet {
namespace {

using namespace testing;

std::string registerHost(Point& p, int64_t nowMs = 0) {
  return p.ask(kHost, message(Kind::Register, 77, {}, kHostLan), nowMs)->code;
}

TEST(MeetMessage, LayoutRoundTripAndRefusals) {
  // Register, nonce 1, local 198.19.1.2:41830, laid out by hand.
  Bytes expected{};
  const uint8_t head[] = {'Z', 'K', 'M', '1', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  std::copy(std::begin(head), std::end(head), expected.begin());
  const uint8_t local[] = {198, 19, 1, 2, 0xA3, 0x66};  // 41830 = 0xA366
  std::copy(std::begin(local), std::end(local), expected.begin() + 30);
  EXPECT_EQ(writeMessage(message(Kind::Register, 1, {}, kHostLan)), expected);
  EXPECT_EQ(readMessage(expected), message(Kind::Register, 1, {}, kHostLan));

  // As a datagram: the message with one byte changed.
  auto changed = [&](std::size_t at, uint8_t v) {
    std::vector<uint8_t> b(expected.begin(), expected.end());
    b[at] = v;
    return b;
  };
  const Bytes lookup = writeMessage(message(Kind::Lookup, 5, "ABCD2345"));
  Bytes lowerCase = lookup, lookalike = lookup;
  lowerCase[16] = 'a';
  lookalike[17] = '0';
  const std::vector<std::vector<uint8_t>> refused = {
      std::vector<uint8_t>(expected.begin(), expected.end() - 1),  // 63 bytes
      [&] {
        std::vector<uint8_t> v(expected.begin(), expected.end());
        v.push_back(0);
        return v;
      }(),
      changed(3, '2'),   // another magic
      changed(4, 0),     // kind 0
      changed(4, 13),    // kind 13, after the last
      changed(63, 1),    // padding not zero
      changed(16, 'A'),  // a code where Register has none
      changed(5, 1),     // a reason outside Refused
      {lowerCase.begin(), lowerCase.end()},
      {lookalike.begin(), lookalike.end()},
  };
  for (std::size_t i = 0; i < refused.size(); ++i)
    EXPECT_FALSE(readMessage(refused[i])) << "case " << i;
}

TEST(MeetMessage, TypedCodes) {
  const std::pair<const char*, const char*> cases[] = {
      {"abcd-2345", "ABCD2345"}, {"ABCD 2345", "ABCD2345"}, {"ABCD234", ""},
      {"ABCD23456", ""},         {"ABCD2O45", ""},          {"ABCD2I45", ""},
  };
  for (const auto& [typed, code] : cases) EXPECT_EQ(normaliseCode(typed), code) << typed;
}

TEST(MeetServer, HostAndJoinerLearnEachOther) {
  Point p;
  const auto reg = p.ask(kHost, message(Kind::Register, 77, {}, kHostLan), 0);
  ASSERT_TRUE(reg && reg->kind == Kind::Registered);
  EXPECT_TRUE(validCode(reg->code));
  EXPECT_EQ(reg->peer, kHost);  // what the point saw
  EXPECT_EQ(reg->ttlSeconds, 30);
  // A repeated register (its reply lost) keeps the code.
  EXPECT_EQ(p.ask(kHost, message(Kind::Register, 77, {}, kHostLan), 100)->code, reg->code);
  EXPECT_EQ(p.ask(kHost, message(Kind::Poll, 77, reg->code), 200)->kind, Kind::Waiting);

  const auto found = p.ask(kJoiner, message(Kind::Lookup, 9, reg->code, kJoinerLan), 300);
  ASSERT_TRUE(found && found->kind == Kind::Found);
  EXPECT_EQ(found->peer, kHost);
  EXPECT_EQ(found->local, kHostLan);
  const auto joining = p.ask(kHost, message(Kind::Poll, 77, reg->code), 400);
  ASSERT_TRUE(joining && joining->kind == Kind::Joining);
  EXPECT_EQ(joining->peer, kJoiner);
  EXPECT_EQ(joining->local, kJoinerLan);
  EXPECT_EQ(joining->token, found->token);
  EXPECT_NE(found->token, 0u);

  // The same joiner asking again gets the same answer; anyone else does not.
  EXPECT_EQ(p.ask(kJoiner, message(Kind::Lookup, 9, reg->code, kJoinerLan), 500), found);
  const Address stranger{0xC6120009, 1234};
  EXPECT_EQ(p.ask(stranger, message(Kind::Lookup, 9, reg->code), 600)->reason, Reason::Taken);
  // Only the registering nonce may poll, so a stranger cannot learn the joiner.
  EXPECT_EQ(p.ask(stranger, message(Kind::Poll, 78, reg->code), 700)->reason, Reason::NotOwner);
}

TEST(MeetServer, CodesExpire) {
  struct Case {
    std::vector<int64_t> pollsMs;
    int64_t lookupMs;
    bool alive;
  } cases[] = {
      {{}, 30'000, true},
      {{}, 30'001, false},
      {{29'000}, 59'000, true},
      {{}, 59'000, false},
  };
  for (const Case& c : cases) {
    Point p;  // idle 30 s, at most 15 min
    const std::string code = registerHost(p);
    for (int64_t t : c.pollsMs) p.ask(kHost, message(Kind::Poll, 77, code), t);
    const auto r = p.ask(kJoiner, message(Kind::Lookup, 1, code), c.lookupMs);
    EXPECT_EQ(r->kind, c.alive ? Kind::Found : Kind::Refused) << c.lookupMs;
  }
  // Polled every 20 s it still dies at 15 min.
  Point p;
  const std::string code = registerHost(p);
  for (int64_t t = 20'000; t <= 900'000; t += 20'000)
    p.ask(kHost, message(Kind::Poll, 77, code), t);
  EXPECT_EQ(p.ask(kHost, message(Kind::Poll, 77, code), 900'001)->reason, Reason::UnknownCode);
}

TEST(MeetServer, RatesGuessesAndCapsAreBounded) {
  const Message probe = message(Kind::Lookup, 1, "ABCD2345");
  {  // 20 at once from one address, then one more every 100 ms (10 a second)
    Point p(Limits{.missesPerWindow = 1000});
    int answered = 0;
    for (int i = 0; i < 25; ++i) answered += p.ask(kJoiner, probe, 0).has_value();
    EXPECT_EQ(answered, 20);
    EXPECT_FALSE(p.ask(kJoiner, probe, 50));
    EXPECT_TRUE(p.ask(kJoiner, probe, 100));
    EXPECT_TRUE(p.ask(kHost, probe, 100));  // another address has its own budget
  }
  {  // all addresses together: 5000 at once
    Point p(Limits{.missesPerWindow = 1000});
    int answered = 0;
    for (uint32_t i = 0; i < 300; ++i)
      for (int k = 0; k < 20; ++k) answered += p.ask({0xC6120100 + i, 1}, probe, 0).has_value();
    EXPECT_EQ(answered, 5000);
  }
  {  // ten wrong codes in ten minutes, then silence even for a live code
    Point p;
    const std::string code = registerHost(p);
    for (int i = 0; i < 10; ++i)
      EXPECT_EQ(p.ask(kJoiner, probe, i * 1000)->reason, Reason::UnknownCode);
    EXPECT_FALSE(p.ask(kJoiner, message(Kind::Lookup, 1, code), 11'000));
    p.ask(kHost, message(Kind::Poll, 77, code), 20'000);
    p.ask(kHost, message(Kind::Poll, 77, code), 40'000);
    EXPECT_FALSE(p.ask(kJoiner, message(Kind::Lookup, 1, code), 45'000));
  }
  {  // four codes per address, the fifth refused; the limit on all codes
    Point p(Limits{.maxCodes = 6});
    for (uint64_t n = 1; n <= 5; ++n)
      EXPECT_EQ(p.ask(kHost, message(Kind::Register, n), 0)->kind,
                n <= 4 ? Kind::Registered : Kind::Refused);
    for (uint64_t n = 11; n <= 13; ++n)
      EXPECT_EQ(p.ask(kJoiner, message(Kind::Register, n), 0)->kind,
                n <= 12 ? Kind::Registered : Kind::Refused);
    EXPECT_EQ(p.server.codeCount(), 6u);
    // A joined code frees its host's place (not the table's).
    Point q;
    for (uint64_t n = 1; n <= 4; ++n) q.ask(kHost, message(Kind::Register, n), 0);
    const std::string first = q.ask(kHost, message(Kind::Register, 1), 0)->code;
    q.ask(kJoiner, message(Kind::Lookup, 9, first), 0);
    EXPECT_EQ(q.ask(kHost, message(Kind::Register, 5), 0)->kind, Kind::Registered);
    EXPECT_EQ(q.ask(kHost, message(Kind::Register, 6), 0)->kind, Kind::Refused);
  }
  {  // addresses remembered: full table turns new ones away until forgotten
    Point p(Limits{.maxAddresses = 2});
    EXPECT_TRUE(p.ask(kHost, probe, 0));
    EXPECT_TRUE(p.ask(kJoiner, probe, 0));
    EXPECT_FALSE(p.ask({0xC6120009, 1}, probe, 0));
    // kHost and kJoiner each guessed once: they are kept for the guess
    // window (10 min), then forgotten after a minute's silence.
    p.server.sweep(60'001);
    EXPECT_EQ(p.server.addressCount(), 2u);
    p.server.sweep(600'001);
    EXPECT_EQ(p.server.addressCount(), 0u);
    EXPECT_TRUE(p.ask({0xC6120009, 1}, probe, 600'002));
  }
}

}  // namespace
}  // namespace zelkar::meet
