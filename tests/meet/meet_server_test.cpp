// The meeting point's messages and rules, driven with hand-made datagrams
// and a hand-set clock.
#include <gtest/gtest.h>

#include <vector>

#include "meet/protocol.h"
#include "meet/server.h"

namespace zelkar::meet {
namespace {

constexpr Address kHost{0xC6120002, 40000};    // 198.18.0.2, the host's router
constexpr Address kJoiner{0xC6120003, 50000};  // 198.18.0.3, the joiner's router
constexpr Address kHostLan{0xC6130102, 41830};
constexpr Address kJoinerLan{0xC6130202, 41830};

Message request(Kind kind, uint64_t nonce, std::string code = {}, Address local = {}) {
  Message m;
  m.kind = kind;
  m.nonce = nonce;
  m.code = std::move(code);
  m.local = local;
  return m;
}

struct Point {
  Limits limits;
  std::vector<std::string> log;
  uint64_t next = 0;
  Server server{limits, [this] { return ++next * 0x0101010101010101ull; },
                [this](const std::string& l) { log.push_back(l); }};

  explicit Point(Limits l = {}) : limits(l) {}
  std::optional<Message> ask(const Address& from, const Message& m, int64_t nowMs) {
    const Bytes b = writeMessage(m);
    const auto out = server.handle(from, b, nowMs);
    if (!out) return std::nullopt;
    return readMessage(*out);
  }
  std::string registerHost(int64_t nowMs = 0) {
    return ask(kHost, request(Kind::Register, 77, {}, kHostLan), nowMs)->code;
  }
};

TEST(MeetMessage, LayoutRoundTripAndRefusals) {
  // Register, nonce 1, local 198.19.1.2:41830, laid out by hand.
  Bytes expected{};
  const uint8_t head[] = {'Z', 'K', 'M', '1', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  std::copy(std::begin(head), std::end(head), expected.begin());
  const uint8_t local[] = {198, 19, 1, 2, 0xA3, 0x66};  // 41830 = 0xA366
  std::copy(std::begin(local), std::end(local), expected.begin() + 30);
  EXPECT_EQ(writeMessage(request(Kind::Register, 1, {}, kHostLan)), expected);
  EXPECT_EQ(readMessage(expected), request(Kind::Register, 1, {}, kHostLan));

  // As a datagram: the message with one byte changed.
  auto changed = [&](std::size_t at, uint8_t v) {
    std::vector<uint8_t> b(expected.begin(), expected.end());
    b[at] = v;
    return b;
  };
  const Bytes lookup = writeMessage(request(Kind::Lookup, 5, "ABCD2345"));
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
  const auto reg = p.ask(kHost, request(Kind::Register, 77, {}, kHostLan), 0);
  ASSERT_TRUE(reg && reg->kind == Kind::Registered);
  EXPECT_TRUE(validCode(reg->code));
  EXPECT_EQ(reg->peer, kHost);  // what the point saw
  EXPECT_EQ(reg->ttlSeconds, 30);
  // A repeated register (its reply lost) keeps the code.
  EXPECT_EQ(p.ask(kHost, request(Kind::Register, 77, {}, kHostLan), 100)->code, reg->code);
  EXPECT_EQ(p.ask(kHost, request(Kind::Poll, 77, reg->code), 200)->kind, Kind::Waiting);

  const auto found = p.ask(kJoiner, request(Kind::Lookup, 9, reg->code, kJoinerLan), 300);
  ASSERT_TRUE(found && found->kind == Kind::Found);
  EXPECT_EQ(found->peer, kHost);
  EXPECT_EQ(found->local, kHostLan);
  const auto joining = p.ask(kHost, request(Kind::Poll, 77, reg->code), 400);
  ASSERT_TRUE(joining && joining->kind == Kind::Joining);
  EXPECT_EQ(joining->peer, kJoiner);
  EXPECT_EQ(joining->local, kJoinerLan);
  EXPECT_EQ(joining->token, found->token);
  EXPECT_NE(found->token, 0u);

  // The same joiner asking again gets the same answer; anyone else does not.
  EXPECT_EQ(p.ask(kJoiner, request(Kind::Lookup, 9, reg->code, kJoinerLan), 500), found);
  const Address stranger{0xC6120009, 1234};
  EXPECT_EQ(p.ask(stranger, request(Kind::Lookup, 9, reg->code), 600)->reason, Reason::Taken);
  // Only the registering nonce may poll, so a stranger cannot learn the joiner.
  EXPECT_EQ(p.ask(stranger, request(Kind::Poll, 78, reg->code), 700)->reason, Reason::NotOwner);
}

TEST(MeetServer, CodesExpire) {
  Limits l;  // idle 30 s, at most 15 min
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
    Point p(l);
    const std::string code = p.registerHost();
    for (int64_t t : c.pollsMs) p.ask(kHost, request(Kind::Poll, 77, code), t);
    const auto r = p.ask(kJoiner, request(Kind::Lookup, 1, code), c.lookupMs);
    EXPECT_EQ(r->kind, c.alive ? Kind::Found : Kind::Refused) << c.lookupMs;
  }
  // Polled every 20 s it still dies at 15 min.
  Point p(l);
  const std::string code = p.registerHost();
  for (int64_t t = 20'000; t <= 900'000; t += 20'000)
    p.ask(kHost, request(Kind::Poll, 77, code), t);
  EXPECT_EQ(p.ask(kHost, request(Kind::Poll, 77, code), 900'001)->reason, Reason::UnknownCode);
}

TEST(MeetServer, RatesGuessesAndCapsAreBounded) {
  const Message probe = request(Kind::Lookup, 1, "ABCD2345");
  {  // 20 at once from one address, then one more every 100 ms (10 a second)
    Limits l;
    l.missesPerWindow = 1000;
    Point p(l);
    int answered = 0;
    for (int i = 0; i < 25; ++i) answered += p.ask(kJoiner, probe, 0).has_value();
    EXPECT_EQ(answered, 20);
    EXPECT_FALSE(p.ask(kJoiner, probe, 50));
    EXPECT_TRUE(p.ask(kJoiner, probe, 100));
    EXPECT_TRUE(p.ask(kHost, probe, 100));  // another address has its own budget
  }
  {  // all addresses together: 5000 at once
    Limits l;
    l.missesPerWindow = 1000;
    Point p(l);
    int answered = 0;
    for (uint32_t i = 0; i < 300; ++i)
      for (int k = 0; k < 20; ++k) answered += p.ask({0xC6120100 + i, 1}, probe, 0).has_value();
    EXPECT_EQ(answered, 5000);
  }
  {  // ten wrong codes in ten minutes, then silence even for a live code
    Point p;
    const std::string code = p.registerHost();
    for (int i = 0; i < 10; ++i)
      EXPECT_EQ(p.ask(kJoiner, probe, i * 1000)->reason, Reason::UnknownCode);
    EXPECT_FALSE(p.ask(kJoiner, request(Kind::Lookup, 1, code), 11'000));
    p.ask(kHost, request(Kind::Poll, 77, code), 20'000);
    p.ask(kHost, request(Kind::Poll, 77, code), 40'000);
    EXPECT_FALSE(p.ask(kJoiner, request(Kind::Lookup, 1, code), 45'000));
  }
  {  // four codes per address, the fifth refused; the limit on all codes
    Limits l;
    l.maxCodes = 6;
    Point p(l);
    for (uint64_t n = 1; n <= 5; ++n)
      EXPECT_EQ(p.ask(kHost, request(Kind::Register, n), 0)->kind,
                n <= 4 ? Kind::Registered : Kind::Refused);
    for (uint64_t n = 11; n <= 13; ++n)
      EXPECT_EQ(p.ask(kJoiner, request(Kind::Register, n), 0)->kind,
                n <= 12 ? Kind::Registered : Kind::Refused);
    EXPECT_EQ(p.server.codeCount(), 6u);
    // A joined code frees its host's place (not the table's).
    Limits roomy;
    Point q(roomy);
    for (uint64_t n = 1; n <= 4; ++n) q.ask(kHost, request(Kind::Register, n), 0);
    const std::string first = q.ask(kHost, request(Kind::Register, 1), 0)->code;
    q.ask(kJoiner, request(Kind::Lookup, 9, first), 0);
    EXPECT_EQ(q.ask(kHost, request(Kind::Register, 5), 0)->kind, Kind::Registered);
    EXPECT_EQ(q.ask(kHost, request(Kind::Register, 6), 0)->kind, Kind::Refused);
  }
  {  // addresses remembered: full table turns new ones away until forgotten
    Limits l;
    l.maxAddresses = 2;
    Point p(l);
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
