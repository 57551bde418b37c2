// The packets read back what was written, and anything else is refused
// whole.
#include "net/packet.h"

#include <gtest/gtest.h>

#include "net/link.h"

namespace zelkar::net {
namespace {

Event keyDown(int16_t code, int16_t shift) {
  return {.kind = Event::Kind::KeyDown, .keyCode = code, .shift = shift};
}

Inputs someInputs() {
  Inputs in;
  in.ack = 70000, in.frame = 70123, in.advantage = -5, in.first = 69990;
  const Event up{.kind = Event::Kind::KeyUp, .keyCode = 226};
  const Event start{.kind = Event::Kind::Start, .given = true, .friction = true, .text = " 12a"};
  const Event no{.kind = Event::Kind::Answer, .yes = false}, done{.kind = Event::Kind::Done};
  in.frames = {{}, {keyDown(100, 0), up}, {start}, {}, {keyDown(113, 2), no, done}};
  return in;
}

// The wire format written out byte by byte: the type bytes are fixed
// numbers, whatever order the kinds have in the code.
TEST(Packet, EveryKindHasItsFixedTypeByteAndLittleEndianLayout) {
  Inputs in;
  in.ack = 0x01020304, in.hashAck = 0x0A0B0C0D, in.frame = 5, in.first = 6;
  in.frames = {{}, {}, {keyDown(100, 2)}, {}};
  const struct {
    Body body;
    std::vector<uint8_t> bytes;
  } table[] = {
      {Hello{"AB", 1}, {'Z', 'N', 2, 1, 2, 'A', 'B', 1}},
      {Welcome{1, 0, 25, 1, 0xFEDCBA98u},
       {'Z', 'N', 2, 2, 1, 0, 0, 25, 0, 1, 0, 0x98, 0xBA, 0xDC, 0xFE}},
      {Refuse{RefuseReason::TooManyTries}, {'Z', 'N', 2, 3, 4}},
      {in,
       {
           'Z', 'N', 2,  4,   // magic, version, inputs
           4,   3,   2,  1,   // ack
           13,  12,  11, 10,  // hash ack
           5,   0,   0,  0,   // frame
           0,                 // advantage
           6,   0,   0,  0,   // first
           4,   1,            // four frames, one with events
           2,   1,            // the third, one event
           1,   100, 0,  2,   // key down, keypad 4, Ctrl
       }},
      {Hashes{9, {0x0102030405060708ull}}, {'Z', 'N', 2, 5, 9, 0, 0, 0, 1, 8, 7, 6, 5, 4, 3, 2, 1}},
      {Bye{}, {'Z', 'N', 2, 6}},
  };
  for (const auto& row : table) {
    EXPECT_EQ(writePacket(row.body), row.bytes) << int(row.bytes[3]);
    // Read back and written again, every field comes back as it was.
    const auto back = readPacket(row.bytes);
    ASSERT_TRUE(back) << int(row.bytes[3]);
    EXPECT_EQ(back->version, kProtocolVersion);
    EXPECT_EQ(writePacket(back->body), row.bytes);
  }
  // Every kind of event, and values whose every byte counts.
  const std::vector<uint8_t> inputs = writePacket(someInputs());
  const auto back = readPacket(inputs);
  ASSERT_TRUE(back);
  EXPECT_EQ(writePacket(back->body), inputs);
}

TEST(Packet, EveryCutShortOrOverlongPacketIsRefused) {
  const std::vector<uint8_t> whole = writePacket(someInputs());
  for (std::size_t n = 0; n < whole.size(); ++n)
    EXPECT_FALSE(readPacket(std::span(whole).first(n))) << n << " bytes";
  std::vector<uint8_t> longer = whole;
  longer.push_back(0);
  EXPECT_FALSE(readPacket(longer));
  std::vector<uint8_t> big = writePacket(Bye{});  // nothing larger than a link's packet
  big.resize(Link::kMaxPacketBytes + 1);
  EXPECT_FALSE(readPacket(big));
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

  // Inputs of one frame: the header, then `frame` as written.
  auto inputs = [](std::vector<uint8_t> frame) {
    // ack 0, hash ack 1, frame 0, advantage 0, first 0
    std::vector<uint8_t> p = {'Z', 'N', 2, 4, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    p.insert(p.end(), frame.begin(), frame.end());
    return readPacket(p).has_value();
  };
  EXPECT_TRUE(inputs({1, 1, 0, 1, 3, 1, 0, 2, '1', '2'}));  // "指定" with "12"
  EXPECT_FALSE(inputs({1, 1, 0, 1, 3, 0, 0, 1, 'x'}));      // a count with "乱数個"
  EXPECT_FALSE(inputs({1, 1, 0, 1, 3, 2, 0, 0}));           // a flag that is not 0 or 1
  EXPECT_TRUE(inputs({2, 2, 0, 1, 5, 1, 1, 5}));
  EXPECT_FALSE(inputs({2, 2, 1, 1, 5, 0, 1, 5}));  // places must rise
  EXPECT_FALSE(inputs({2, 1, 2, 1, 5}));           // a place past the run
  EXPECT_FALSE(inputs({2, 3, 0, 1, 5, 1, 1, 5}));  // more busy frames than frames
  EXPECT_FALSE(inputs({1, 1, 0, 0}));              // a written frame without events
  EXPECT_FALSE(inputs({1, 1, 0, 1, 6}));           // no such event
  std::vector<uint8_t> many = {1, 1, 0, 17};
  many.resize(many.size() + 17, 5);  // 17 times Done: more than a frame may hold
  EXPECT_FALSE(inputs(many));
  many[3] = 16;
  many.pop_back();
  EXPECT_TRUE(inputs(many));
  EXPECT_FALSE(inputs({65, 0}));  // more frames than a packet may hold
  EXPECT_TRUE(inputs({64, 0}));

  // A code longer than a packet's text may be; no hashes; tick 0; a third
  // side; a tick of 0 ms; a reason no version has.
  std::vector<uint8_t> hello = {'Z', 'N', 2, 1, 33};
  hello.resize(hello.size() + 33, 'a');
  hello.push_back(0);
  EXPECT_FALSE(readPacket(hello));
  hello[4] = 32;
  hello.erase(hello.begin() + 5);
  EXPECT_TRUE(readPacket(hello));
  EXPECT_FALSE(readPacket(std::vector<uint8_t>{'Z', 'N', 2, 5, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(readPacket(writePacket(Hashes{0, {1}})));
  EXPECT_FALSE(readPacket(writePacket(Welcome{2, 1, 10, 1, 0})));
  EXPECT_FALSE(readPacket(writePacket(Welcome{0, 1, 0, 1, 0})));
  EXPECT_FALSE(readPacket(std::vector<uint8_t>{'Z', 'N', 2, 3, 5}));
  Inputs noHashYet;
  noHashYet.hashAck = 0;  // hashes start at tick 1: nothing is before 0
  EXPECT_FALSE(readPacket(writePacket(noHashYet)));
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

}  // namespace
}  // namespace zelkar::net
