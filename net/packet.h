// The packets of an online match, as bytes. Everything a peer sends is
// untrusted: readPacket() checks every size and range and answers nullopt
// for anything it cannot read whole, so a bad packet is dropped and
// counted, never half applied.
//
// Every packet starts with the magic "ZN", the protocol version and the
// packet type (a fixed number per kind, never the order of a list).
// Refuse keeps its layout in every version, so a peer of another version
// can still say why it refuses.
//
// Every packet of a running session travels unreliably and is repeated by
// the session until the peer shows it arrived (inputs and hashes by the
// acknowledgements in Inputs, the greeting by its answer, Bye by the
// peer's own Bye), so a lost datagram costs a repeat, never the link.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace zelkar::net {

// 2: every packet unreliable and repeated, Inputs acknowledge hashes, a
// refusal for too many tries.
inline constexpr uint8_t kProtocolVersion = 2;
inline constexpr std::size_t kMaxEventsPerFrame = 16;  // more wait for the next frame
inline constexpr std::size_t kMaxTextBytes = 32;       // count box text on the wire
inline constexpr std::size_t kMaxFramesPerPacket = 64;
inline constexpr std::size_t kMaxHashesPerPacket = 64;

// One input of a side in one frame.
struct Event {
  enum class Kind : uint8_t { KeyDown = 1, KeyUp, Start, Answer, Done };
  Kind kind = Kind::KeyDown;
  int16_t keyCode = 0;  // KeyDown, KeyUp
  int16_t shift = 0;    // KeyDown
  bool given = false;   // Start: "指定" selected
  bool friction = false;
  std::string text{};  // Start: count box
  bool yes = false;    // Answer: Y (else N)
  bool operator==(const Event&) const = default;
};
using FrameEvents = std::vector<Event>;

enum class RefuseReason : uint8_t {
  WrongVersion = 1,
  WrongCode = 2,
  SideTaken = 3,
  TooManyTries = 4
};

// The type byte of each packet kind: part of the wire format.
enum class PacketType : uint8_t {
  Hello = 1,
  Welcome = 2,
  Refuse = 3,
  Inputs = 4,
  Hashes = 5,
  Bye = 6,
};

struct Hello {  // joiner -> host, repeated until answered
  std::string code;
  uint8_t side = 0;  // 0 left, 1 right, 2 whichever the host leaves
};
struct Welcome {  // host -> joiner, the answer to every Hello of the greeted caller
  uint8_t hostSide = 0;
  int16_t keypadMode = 1;
  int16_t tickIntervalMs = 10;
  int16_t soundOn = 0;
  uint32_t loadSeed = 0;
};
struct Refuse {  // either way, the answer to a Hello; layout fixed across versions
  RefuseReason reason = RefuseReason::WrongVersion;
};
struct Inputs {          // both ways, every frame
  uint32_t ack = 0;      // the sender has every frame of ours before this one
  uint32_t hashAck = 1;  // the sender has our hashes of every tick before this one
  uint32_t frame = 0;    // frames the sender has run
  int8_t advantage = 0;  // the sender's frames ahead of us, as it sees them
  uint32_t first = 0;    // frame of frames[0]
  std::vector<FrameEvents> frames;
};
struct Hashes {  // both ways, repeated until acknowledged: confirmed ticks first..first+n-1
  uint32_t first = 0;
  std::vector<uint64_t> hashes;
};
struct Bye {};  // the sender has confirmed and checked everything, and has all we sent

using Body = std::variant<Hello, Welcome, Refuse, Inputs, Hashes, Bye>;

struct Packet {
  uint8_t version = kProtocolVersion;
  Body body;
};

PacketType packetType(const Body& body);

std::vector<uint8_t> writePacket(const Body& body, uint8_t version = kProtocolVersion);
// Nullopt for anything malformed. A packet of another version reads only
// when it is a Hello, Welcome or Refuse (their version is what matters).
std::optional<Packet> readPacket(std::span<const uint8_t> bytes);

// Bytes an event takes on the wire (for packing packets under the limit).
std::size_t eventBytes(const Event& e);

}  // namespace zelkar::net
