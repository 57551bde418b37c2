// The packets read back what was written, and anything else is refused
// whole.
#include "net/packet.h"

#include <gtest/gtest.h>

#include "net/link.h"

namespace zelkar::net {
namespace {

Event keyDown(int16_t code, int16_t shift) {
  Event e;
  e.kind = Event::Kind::KeyDown, e.keyCode = code, e.shift = shift;
  return e;
}

Inputs someInputs() {
  Inputs in;
  in.ack = 70000, in.frame = 70123, in.advantage = -5, in.first = 69990;
  Event up;
  up.kind = Event::Kind::KeyUp, up.keyCode = 226;
  Event start;
  start.kind = Event::Kind::Start, start.given = true, start.friction = true, start.text = " 12a";
  Event no;
  no.kind = Event::Kind::Answer, no.yes = false;
  Event done;
  done.kind = Event::Kind::Done;
  in.frames = {{}, {keyDown(100, 0), up}, {start}, {}, {keyDown(113, 2), no, done}};
  return in;
}

TEST(Packet, EveryKindReadsBackAsWritten) {
  const Inputs in = someInputs();
  auto p = readPacket(writePacket(in));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->version, kProtocolVersion);
  const Inputs& back = std::get<Inputs>(p->body);
  EXPECT_EQ(back.ack, in.ack);
  EXPECT_EQ(back.frame, in.frame);
  EXPECT_EQ(back.advantage, in.advantage);
  EXPECT_EQ(back.first, in.first);
  EXPECT_EQ(back.frames, in.frames);

  p = readPacket(writePacket(Hello{"AB12", 1}));
  ASSERT_TRUE(p);
  EXPECT_EQ(std::get<Hello>(p->body).code, "AB12");
  EXPECT_EQ(std::get<Hello>(p->body).side, 1);

  p = readPacket(writePacket(Welcome{1, 0, 25, 1, 0xFEDCBA98u}));
  ASSERT_TRUE(p);
  const Welcome& w = std::get<Welcome>(p->body);
  EXPECT_EQ(w.hostSide, 1);
  EXPECT_EQ(w.keypadMode, 0);
  EXPECT_EQ(w.tickIntervalMs, 25);
  EXPECT_EQ(w.soundOn, 1);
  EXPECT_EQ(w.loadSeed, 0xFEDCBA98u);

  p = readPacket(writePacket(Hashes{9, {0x0123456789ABCDEFull, 0}}));
  ASSERT_TRUE(p);
  EXPECT_EQ(std::get<Hashes>(p->body).first, 9u);
  EXPECT_EQ(std::get<Hashes>(p->body).hashes, (std::vector<uint64_t>{0x0123456789ABCDEFull, 0}));

  EXPECT_TRUE(readPacket(writePacket(Bye{})));
  p = readPacket(writePacket(Refuse{RefuseReason::SideTaken}));
  ASSERT_TRUE(p);
  EXPECT_EQ(std::get<Refuse>(p->body).reason, RefuseReason::SideTaken);
}

TEST(Packet, TheLayoutIsLittleEndianAfterMagicVersionAndType) {
  Inputs in;
  in.ack = 0x01020304, in.frame = 5, in.first = 6;
  in.frames = {{keyDown(100, 2)}};
  const std::vector<uint8_t> expected = {'Z', 'N', 1, 4, 4, 3, 2, 1, 5,   0, 0, 0,
                                         0,   6,   0, 0, 0, 1, 1, 1, 100, 0, 2};
  EXPECT_EQ(writePacket(in), expected);
}

TEST(Packet, EveryCutShortPacketIsRefused) {
  const std::vector<uint8_t> whole = writePacket(someInputs());
  for (std::size_t n = 0; n < whole.size(); ++n)
    EXPECT_FALSE(readPacket(std::span(whole).first(n))) << n << " bytes";
  std::vector<uint8_t> longer = whole;
  longer.push_back(0);
  EXPECT_FALSE(readPacket(longer));
}

TEST(Packet, ValuesOutOfRangeAreRefused) {
  auto withEvent = [](Event e) {
    Inputs in;
    in.frames = {{std::move(e)}};
    return readPacket(writePacket(in)).has_value();
  };
  EXPECT_TRUE(withEvent(keyDown(1, 7)));
  EXPECT_TRUE(withEvent(keyDown(254, 0)));
  EXPECT_FALSE(withEvent(keyDown(0, 0)));    // no such key
  EXPECT_FALSE(withEvent(keyDown(255, 0)));  // past the last virtual key
  EXPECT_FALSE(withEvent(keyDown(65, 8)));   // Shift, Ctrl and Alt make 7 at most

  // A count text on a "乱数個" start, a flag that is not 0 or 1.
  std::vector<uint8_t> start = {'Z', 'N', 1, 4, 0, 0, 0, 0, 0, 0, 0, 0,
                                0,   0,   0, 0, 0, 1, 1, 3, 0, 0, 1, 'x'};
  EXPECT_FALSE(readPacket(start));
  start = {'Z', 'N', 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 3, 2, 0, 0};
  EXPECT_FALSE(readPacket(start));
  start[20] = 1;
  EXPECT_TRUE(readPacket(start));

  // Text longer than a packet's text may be; more events or frames than
  // a packet may hold; an unknown event; no hashes; tick 0.
  std::vector<uint8_t> hello = {'Z', 'N', 1, 1, 33};
  hello.resize(hello.size() + 33, 'a');
  hello.push_back(0);
  EXPECT_FALSE(readPacket(hello));
  std::vector<uint8_t> events = {'Z', 'N', 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 17};
  for (int i = 0; i < 17; ++i) events.push_back(5);  // Done
  EXPECT_FALSE(readPacket(events));
  std::vector<uint8_t> frames = {'Z', 'N', 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 65};
  frames.resize(frames.size() + 65, 0);
  EXPECT_FALSE(readPacket(frames));
  EXPECT_FALSE(readPacket(
      std::vector<uint8_t>{'Z', 'N', 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 6}));
  EXPECT_FALSE(readPacket(std::vector<uint8_t>{'Z', 'N', 1, 5, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(readPacket(writePacket(Hashes{0, {1}})));
  EXPECT_FALSE(readPacket(writePacket(Welcome{2, 1, 10, 1, 0})));     // no third side
  EXPECT_FALSE(readPacket(writePacket(Welcome{0, 1, 0, 1, 0})));      // a tick of 0 ms
  EXPECT_FALSE(readPacket(std::vector<uint8_t>{'Z', 'N', 1, 3, 4}));  // no such refusal
}

TEST(Packet, AnotherVersionReadsOnlyAsAGreetingOrARefusal) {
  const uint8_t other = kProtocolVersion + 1;
  auto p = readPacket(writePacket(Hello{"x", 0}, other));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->version, other);
  EXPECT_TRUE(std::holds_alternative<Hello>(p->body));
  p = readPacket(writePacket(Refuse{RefuseReason::WrongCode}, other));
  ASSERT_TRUE(p);
  EXPECT_EQ(std::get<Refuse>(p->body).reason, RefuseReason::WrongCode);
  EXPECT_FALSE(readPacket(writePacket(someInputs(), other)));
  EXPECT_FALSE(readPacket(writePacket(Bye{}, other)));
}

TEST(Packet, NothingLargerThanALinkPacketIsRead) {
  std::vector<uint8_t> big = writePacket(Bye{});
  big.resize(Link::kMaxPacketBytes + 1);
  EXPECT_FALSE(readPacket(big));
}

}  // namespace
}  // namespace zelkar::net
