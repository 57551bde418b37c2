// The meeting point's messages: a host registers and gets a code, a joiner
// asks by code, and each learns the other's public address as the meeting
// point saw it. Every message, request or reply, is exactly kMessageBytes
// long, so an answer is never larger than the question that caused it and
// the meeting point cannot be used to amplify a flood at someone else.
//
// Shared by the meeting point (meet/) and the game's client (net/), and
// free of everything else so that both can use it and a fuzzer can read it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelkar::meet {

inline constexpr std::size_t kMessageBytes = 64;
// The port a meeting point listens on unless told otherwise: next to the
// game's own default port, so a firewall rule covers both at once.
inline constexpr uint16_t kDefaultMeetPort = 41831;

// Codes are read aloud and typed: 8 characters from an alphabet without
// 0/O, 1/I/L and the vowel-free lookalikes, 31^8 (about 2^39.6) of them.
inline constexpr std::size_t kCodeLength = 8;
inline constexpr std::string_view kCodeAlphabet = "23456789ABCDEFGHJKMNPQRSTUVWXYZ";

// An IPv4 address and port in host byte order (the game's UDP is IPv4).
struct Address {
  uint32_t ip = 0;
  uint16_t port = 0;
  bool operator==(const Address&) const = default;
};
std::string addressText(const Address& a);  // "198.18.0.1:41831"

enum class Kind : uint8_t {
  Register = 1,    // host -> point: give me a code (nonce, local)
  Registered = 2,  // point -> host: the code, the host's public address, its lifetime
  Poll = 3,        // host -> point: still here; anyone asking? (nonce, code)
  Waiting = 4,     // point -> host: nobody yet
  Joining = 5,     // point -> host: a joiner (its public and local address, the pair token)
  Lookup = 6,      // joiner -> point: whose code is this? (nonce, code, local)
  Found = 7,       // point -> joiner: the host (public and local address, the pair token)
  Refused = 8,     // point -> either: why not (reason)
  // When no direct path opens, both sides play through the relay server:
  RelayAsk = 9,     // either -> point: a relay login (nonce, code, token)
  RelayLogin = 10,  // point -> either: the relay's address, the login's expiry and digest
  RelayAt = 11,     // either -> point: my relayed address, zero before I have one
  RelayPeer = 12,   // point -> either: the other side's relayed address, zero while unknown
};

enum class Reason : uint8_t {
  None = 0,
  UnknownCode = 1,  // no such code, or it expired
  Taken = 2,        // another joiner already has this code's seat
  Full = 3,         // the point holds as many codes as it may
  NotOwner = 4,     // a poll for a code registered with another nonce
  NoRelay = 5,      // the point has no relay server to offer
};

struct Message {
  Kind kind = Kind::Register;
  Reason reason = Reason::None;      // Refused only
  uint16_t ttlSeconds = 0;           // Registered only
  uint64_t nonce = 0;                // chosen by the asker, echoed in the reply
  std::string code;                  // kCodeLength characters, or empty for Register
  Address peer;                      // Registered: the asker; Joining/Found: the other side
  Address local;                     // requests: the asker's own; Joining/Found: the other's
  uint64_t token = 0;                // Joining/Found: proves a punch comes from the peer;
                                     // RelayAsk/RelayAt: proves the joiner is the matched one
  uint64_t expiry = 0;               // RelayLogin: when the login stops working (Unix seconds)
  std::array<uint8_t, 20> digest{};  // RelayLogin: HMAC-SHA1 of the login's user name
  bool operator==(const Message&) const = default;
};

// The relay login's user name for one side of a code. Both the meeting
// point (which signs it) and the game (which logs in with it) build it
// here: "EXPIRY:CODE-host" or "EXPIRY:CODE-join".
std::string relayUser(uint64_t expiry, std::string_view code, bool host);

using Bytes = std::array<uint8_t, kMessageBytes>;

Bytes writeMessage(const Message& m);

// Nullopt unless `bytes` are exactly what writeMessage writes for some
// message: the right size, magic and kind, a valid code where the kind has
// one, and zeros in every field the kind does not use.
std::optional<Message> readMessage(std::span<const uint8_t> bytes);

bool validCode(std::string_view code);

// What a person typed, as a code: upper case, blanks and dashes dropped
// ("abcd-2345" reads as "ABCD2345"). Empty when it cannot be one.
std::string normaliseCode(std::string_view typed);

}  // namespace zelkar::meet
