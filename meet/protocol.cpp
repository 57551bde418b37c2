#include "meet/protocol.h"

#include <algorithm>

namespace zelkar::meet {

namespace {

constexpr std::array<uint8_t, 4> kMagic = {'Z', 'K', 'M', '1'};

// Byte offsets of the fields; the rest of the message is zero padding. A
// login's expiry sits where the token does: no kind carries both.
constexpr std::size_t kKindAt = 4, kReasonAt = 5, kTtlAt = 6, kNonceAt = 8, kCodeAt = 16,
                      kPeerAt = 24, kLocalAt = 30, kTokenAt = 36, kExpiryAt = kTokenAt,
                      kDigestAt = 44, kDigestBytes = 20;
static_assert(kDigestAt + kDigestBytes == kMessageBytes);

// Which fields each kind carries; every other one must be zero.
struct Fields {
  bool code, peer, local, token, ttl, reason, expiry, digest;
};

std::optional<Fields> fieldsOf(uint8_t kind) {
  switch (Kind(kind)) {
    case Kind::Register:
      return Fields{false, false, true, false, false, false, false, false};
    case Kind::Registered:
      return Fields{true, true, false, false, true, false, false, false};
    case Kind::Poll:
    case Kind::Waiting:
      return Fields{true, false, false, false, false, false, false, false};
    case Kind::Joining:
    case Kind::Found:
      return Fields{true, true, true, true, false, false, false, false};
    case Kind::Lookup:
      return Fields{true, false, true, false, false, false, false, false};
    case Kind::Refused:
      return Fields{false, false, false, false, false, true, false, false};
    case Kind::RelayAsk:
      return Fields{true, false, false, true, false, false, false, false};
    case Kind::RelayLogin:
      return Fields{true, true, false, false, false, false, true, true};
    case Kind::RelayAt:
      return Fields{true, true, false, true, false, false, false, false};
    case Kind::RelayPeer:
      return Fields{true, true, false, false, false, false, false, false};
  }
  return std::nullopt;
}

void put(Bytes& b, std::size_t at, uint64_t v, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) b[at + i] = uint8_t(v >> (8 * (n - 1 - i)));
}

uint64_t get(std::span<const uint8_t> b, std::size_t at, std::size_t n) {
  uint64_t v = 0;
  for (std::size_t i = 0; i < n; ++i) v = v << 8 | b[at + i];
  return v;
}

void putAddress(Bytes& b, std::size_t at, const Address& a) {
  put(b, at, a.ip, 4);
  put(b, at + 4, a.port, 2);
}

Address getAddress(std::span<const uint8_t> b, std::size_t at) {
  return {uint32_t(get(b, at, 4)), uint16_t(get(b, at + 4, 2))};
}

}  // namespace

std::string addressText(const Address& a) {
  return std::to_string(a.ip >> 24) + '.' + std::to_string(a.ip >> 16 & 255) + '.' +
         std::to_string(a.ip >> 8 & 255) + '.' + std::to_string(a.ip & 255) + ':' +
         std::to_string(a.port);
}

bool validCode(std::string_view code) {
  return code.size() == kCodeLength && std::all_of(code.begin(), code.end(), [](char c) {
           return kCodeAlphabet.find(c) != std::string_view::npos;
         });
}

std::string normaliseCode(std::string_view typed) {
  std::string code;
  for (char c : typed) {
    if (c == ' ' || c == '-') continue;
    if (code.size() == kCodeLength) return {};
    code += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
  }
  return validCode(code) ? code : std::string();
}

std::string relayUser(uint64_t expiry, std::string_view code, bool host) {
  return std::to_string(expiry) + ':' + std::string(code) + (host ? "-host" : "-join");
}

Bytes writeMessage(const Message& m) {
  Bytes b{};
  std::copy(kMagic.begin(), kMagic.end(), b.begin());
  const Fields f = fieldsOf(uint8_t(m.kind)).value_or(Fields{});
  b[kKindAt] = uint8_t(m.kind);
  if (f.reason) b[kReasonAt] = uint8_t(m.reason);
  if (f.ttl) put(b, kTtlAt, m.ttlSeconds, 2);
  put(b, kNonceAt, m.nonce, 8);
  if (f.code)
    for (std::size_t i = 0; i < kCodeLength && i < m.code.size(); ++i) b[kCodeAt + i] = m.code[i];
  if (f.peer) putAddress(b, kPeerAt, m.peer);
  if (f.local) putAddress(b, kLocalAt, m.local);
  if (f.token) put(b, kTokenAt, m.token, 8);
  if (f.expiry) put(b, kExpiryAt, m.expiry, 8);
  if (f.digest) std::copy(m.digest.begin(), m.digest.end(), b.begin() + kDigestAt);
  return b;
}

std::optional<Message> readMessage(std::span<const uint8_t> b) {
  if (b.size() != kMessageBytes || !std::equal(kMagic.begin(), kMagic.end(), b.begin()))
    return std::nullopt;
  const auto f = fieldsOf(b[kKindAt]);
  if (!f) return std::nullopt;
  auto zero = [&](std::size_t from, std::size_t to) {
    return std::all_of(b.begin() + from, b.begin() + to, [](uint8_t x) { return x == 0; });
  };
  Message m;
  m.kind = Kind(b[kKindAt]);
  m.nonce = get(b, kNonceAt, 8);
  if (f->digest)
    std::copy(b.begin() + kDigestAt, b.end(), m.digest.begin());
  else if (!zero(kDigestAt, kMessageBytes))
    return std::nullopt;
  if (f->reason) {
    if (b[kReasonAt] < uint8_t(Reason::UnknownCode) || b[kReasonAt] > uint8_t(Reason::NoRelay))
      return std::nullopt;
    m.reason = Reason(b[kReasonAt]);
  } else if (!zero(kReasonAt, kReasonAt + 1)) {
    return std::nullopt;
  }
  if (f->ttl)
    m.ttlSeconds = uint16_t(get(b, kTtlAt, 2));
  else if (!zero(kTtlAt, kTtlAt + 2))
    return std::nullopt;
  if (f->code) {
    m.code.assign(b.begin() + kCodeAt, b.begin() + kCodeAt + kCodeLength);
    if (!validCode(m.code)) return std::nullopt;
  } else if (!zero(kCodeAt, kCodeAt + kCodeLength)) {
    return std::nullopt;
  }
  if (f->peer)
    m.peer = getAddress(b, kPeerAt);
  else if (!zero(kPeerAt, kPeerAt + 6))
    return std::nullopt;
  if (f->local)
    m.local = getAddress(b, kLocalAt);
  else if (!zero(kLocalAt, kLocalAt + 6))
    return std::nullopt;
  if (f->token)
    m.token = get(b, kTokenAt, 8);
  else if (f->expiry)
    m.expiry = get(b, kExpiryAt, 8);
  else if (!zero(kTokenAt, kTokenAt + 8))
    return std::nullopt;
  return m;
}

}  // namespace zelkar::meet
