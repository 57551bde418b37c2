// The relay protocol's messages (STUN framing as TURN uses it over UDP):
// building requests with their integrity check, reading answers, and the
// four-byte ChannelData frames that carry the game's datagrams once a
// channel is bound. Pure byte work, no sockets, so it is tested alone and
// everything read from the wire is checked against the buffer's length.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelkar::net::turn {

// An IPv4 address and port in host byte order (ENet speaks IPv4 only).
struct Addr4 {
  uint32_t ip = 0;
  uint16_t port = 0;
  bool operator==(const Addr4&) const = default;
};
std::string toString(Addr4 a);
// "A.B.C.D" or "A.B.C.D:PORT" (port 0 when absent); nullopt otherwise.
std::optional<Addr4> parseAddr4(std::string_view text);

enum Method : uint16_t {
  kAllocate = 0x003,
  kRefresh = 0x004,
  kSend = 0x006,
  kData = 0x007,
  kCreatePermission = 0x008,
  kChannelBind = 0x009,
};
enum Class : uint16_t { kRequest = 0x000, kIndication = 0x010, kSuccess = 0x100, kError = 0x110 };
enum Attr : uint16_t {
  kUsername = 0x0006,
  kMessageIntegrity = 0x0008,
  kErrorCode = 0x0009,
  kChannelNumber = 0x000C,
  kLifetime = 0x000D,
  kXorPeerAddress = 0x0012,
  kDataAttr = 0x0013,
  kRealm = 0x0014,
  kNonce = 0x0015,
  kXorRelayedAddress = 0x0016,
  kRequestedTransport = 0x0019,
  kXorMappedAddress = 0x0020,
};

using TxId = std::array<uint8_t, 12>;
inline constexpr std::size_t kHeaderBytes = 20;
inline constexpr uint32_t kMagicCookie = 0x2112A442;
// Channel numbers a client may bind (the two top bits tell ChannelData
// from STUN on the same socket).
inline constexpr uint16_t kFirstChannel = 0x4000;
inline constexpr uint16_t kLastChannel = 0x7FFF;

// The long-term credential key: MD5("user:realm:password").
std::array<uint8_t, 16> longTermKey(std::string_view user, std::string_view realm,
                                    std::string_view password);

class Builder {
 public:
  Builder(uint16_t method, uint16_t cls, const TxId& tx);
  Builder& bytes(uint16_t type, std::span<const uint8_t> value);
  Builder& text(uint16_t type, std::string_view value);
  Builder& u32(uint16_t type, uint32_t value);
  Builder& xorAddress(uint16_t type, Addr4 a);
  // The message, with MESSAGE-INTEGRITY last when a key is given.
  std::vector<uint8_t> finish(std::span<const uint8_t> integrityKey = {});

 private:
  std::vector<uint8_t> buf_;
  TxId tx_;
};

struct Message {
  uint16_t method = 0;
  uint16_t cls = 0;
  TxId tx{};
  // Each attribute's type and where its value lies in `raw`.
  struct Field {
    uint16_t type;
    std::size_t offset;
    std::size_t length;
  };
  std::vector<Field> fields;
  std::vector<uint8_t> raw;

  std::optional<std::span<const uint8_t>> find(uint16_t type) const;
  std::optional<std::string> text(uint16_t type) const;
  std::optional<uint32_t> u32(uint16_t type) const;
  std::optional<Addr4> xorAddress(uint16_t type) const;
  // The error class and number (e.g. 401, 438); nullopt when absent.
  std::optional<int> errorCode() const;
  // Whether MESSAGE-INTEGRITY is present and matches `key`.
  bool integrityMatches(std::span<const uint8_t> key) const;
};

// A STUN message with a sound header, cookie and attribute lengths, or
// nullopt (anything else on the socket is ignored).
std::optional<Message> parse(std::span<const uint8_t> datagram);

// ChannelData: channel number, length, the datagram, padded to four bytes.
std::vector<uint8_t> channelData(uint16_t channel, std::span<const uint8_t> payload);
struct ChannelFrame {
  uint16_t channel;
  std::span<const uint8_t> payload;
};
std::optional<ChannelFrame> parseChannelData(std::span<const uint8_t> datagram);

}  // namespace zelkar::net::turn
