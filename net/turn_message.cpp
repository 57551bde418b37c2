#include "net/turn_message.h"

#include <arpa/inet.h>

#include <charconv>

#include "meet/turn_credential.h"

namespace zelkar::net::turn {

using meet::hmacSha1;
using meet::md5;

namespace {

constexpr std::size_t kIntegrityBytes = 20;

void put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(uint8_t(v >> 8));
  b.push_back(uint8_t(v));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
  put16(b, uint16_t(v >> 16));
  put16(b, uint16_t(v));
}
uint16_t get16(std::span<const uint8_t> b, std::size_t at) {
  return uint16_t((b[at] << 8) | b[at + 1]);
}
uint32_t get32(std::span<const uint8_t> b, std::size_t at) {
  return (uint32_t(get16(b, at)) << 16) | get16(b, at + 2);
}
void setLength(std::vector<uint8_t>& b, std::size_t bodyBytes) {
  b[2] = uint8_t(bodyBytes >> 8);
  b[3] = uint8_t(bodyBytes);
}
std::size_t padded(std::size_t n) { return (n + 3) & ~std::size_t(3); }

}  // namespace

std::string toString(Addr4 a) {
  in_addr in{};
  in.s_addr = htonl(a.ip);
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &in, text, sizeof text);
  return std::string(text) + ":" + std::to_string(a.port);
}

std::optional<Addr4> parseAddr4(std::string_view text) {
  Addr4 a;
  const std::size_t colon = text.find(':');
  const std::string host(text.substr(0, colon));
  in_addr in{};
  if (inet_pton(AF_INET, host.c_str(), &in) != 1) return std::nullopt;
  a.ip = ntohl(in.s_addr);
  if (colon == std::string_view::npos) return a;
  const std::string_view port = text.substr(colon + 1);
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
  if (ec != std::errc() || end != port.data() + port.size() || port.empty() || value > 65535)
    return std::nullopt;
  a.port = uint16_t(value);
  return a;
}

std::array<uint8_t, 16> longTermKey(std::string_view user, std::string_view realm,
                                    std::string_view password) {
  return md5(std::string(user) + ":" + std::string(realm) + ":" + std::string(password));
}

Builder::Builder(uint16_t method, uint16_t cls, const TxId& tx) : tx_(tx) {
  // The class bits sit between the method bits (C1 at bit 8, C0 at bit 4),
  // which the constants already encode for methods below 16.
  put16(buf_, uint16_t(method | cls));
  put16(buf_, 0);
  put32(buf_, kMagicCookie);
  buf_.insert(buf_.end(), tx.begin(), tx.end());
}

Builder& Builder::bytes(uint16_t type, std::span<const uint8_t> value) {
  put16(buf_, type);
  put16(buf_, uint16_t(value.size()));
  buf_.insert(buf_.end(), value.begin(), value.end());
  buf_.resize(padded(buf_.size()), 0);
  return *this;
}

Builder& Builder::text(uint16_t type, std::string_view value) {
  return bytes(type, std::span(reinterpret_cast<const uint8_t*>(value.data()), value.size()));
}

Builder& Builder::u32(uint16_t type, uint32_t value) {
  std::vector<uint8_t> v;
  put32(v, value);
  return bytes(type, v);
}

Builder& Builder::xorAddress(uint16_t type, Addr4 a) {
  std::vector<uint8_t> v{0, 0x01};  // reserved, family IPv4
  put16(v, uint16_t(a.port ^ (kMagicCookie >> 16)));
  put32(v, a.ip ^ kMagicCookie);
  return bytes(type, v);
}

std::vector<uint8_t> Builder::finish(std::span<const uint8_t> integrityKey) {
  std::vector<uint8_t> out = buf_;
  if (integrityKey.empty()) {
    setLength(out, out.size() - kHeaderBytes);
    return out;
  }
  // The integrity covers the message up to itself, with a length that
  // already counts it.
  setLength(out, out.size() - kHeaderBytes + 4 + kIntegrityBytes);
  const auto mac = hmacSha1(integrityKey, out);
  put16(out, kMessageIntegrity);
  put16(out, uint16_t(kIntegrityBytes));
  out.insert(out.end(), mac.begin(), mac.end());
  return out;
}

std::optional<Message> parse(std::span<const uint8_t> d) {
  if (d.size() < kHeaderBytes || (d[0] & 0xC0) != 0) return std::nullopt;
  const std::size_t body = get16(d, 2);
  if (body % 4 != 0 || kHeaderBytes + body != d.size() || get32(d, 4) != kMagicCookie)
    return std::nullopt;
  Message m;
  const uint16_t type = get16(d, 0);
  m.cls = type & 0x0110;
  m.method = uint16_t(type & ~0x0110);
  std::copy(d.begin() + 8, d.begin() + 20, m.tx.begin());
  m.raw.assign(d.begin(), d.end());
  std::size_t at = kHeaderBytes;
  while (at + 4 <= d.size()) {
    const uint16_t t = get16(d, at);
    const std::size_t len = get16(d, at + 2);
    if (at + 4 + len > d.size()) return std::nullopt;
    m.fields.push_back({t, at + 4, len});
    at += 4 + padded(len);
  }
  if (at != d.size()) return std::nullopt;
  return m;
}

std::optional<std::span<const uint8_t>> Message::find(uint16_t type) const {
  for (const Field& f : fields)
    if (f.type == type) return std::span(raw).subspan(f.offset, f.length);
  return std::nullopt;
}

std::optional<std::string> Message::text(uint16_t type) const {
  const auto v = find(type);
  if (!v) return std::nullopt;
  return std::string(v->begin(), v->end());
}

std::optional<uint32_t> Message::u32(uint16_t type) const {
  const auto v = find(type);
  if (!v || v->size() != 4) return std::nullopt;
  return get32(*v, 0);
}

std::optional<Addr4> Message::xorAddress(uint16_t type) const {
  const auto v = find(type);
  if (!v || v->size() != 8 || (*v)[1] != 0x01) return std::nullopt;
  return Addr4{get32(*v, 4) ^ kMagicCookie, uint16_t(get16(*v, 2) ^ (kMagicCookie >> 16))};
}

std::optional<int> Message::errorCode() const {
  const auto v = find(kErrorCode);
  if (!v || v->size() < 4) return std::nullopt;
  return ((*v)[2] & 0x07) * 100 + (*v)[3];
}

bool Message::integrityMatches(std::span<const uint8_t> key) const {
  for (const Field& f : fields) {
    if (f.type != kMessageIntegrity) continue;
    if (f.length != kIntegrityBytes) return false;
    std::vector<uint8_t> covered(raw.begin(), raw.begin() + std::ptrdiff_t(f.offset - 4));
    setLength(covered, f.offset + kIntegrityBytes - kHeaderBytes);
    const auto mac = hmacSha1(key, covered);
    return std::equal(mac.begin(), mac.end(), raw.begin() + std::ptrdiff_t(f.offset));
  }
  return false;
}

std::vector<uint8_t> channelData(uint16_t channel, std::span<const uint8_t> payload) {
  std::vector<uint8_t> out;
  out.reserve(4 + padded(payload.size()));
  put16(out, channel);
  put16(out, uint16_t(payload.size()));
  out.insert(out.end(), payload.begin(), payload.end());
  out.resize(4 + padded(payload.size()), 0);
  return out;
}

std::optional<ChannelFrame> parseChannelData(std::span<const uint8_t> d) {
  if (d.size() < 4) return std::nullopt;
  const uint16_t channel = get16(d, 0);
  const std::size_t len = get16(d, 2);
  if (channel < kFirstChannel || channel > kLastChannel || 4 + len > d.size()) return std::nullopt;
  return ChannelFrame{channel, d.subspan(4, len)};
}

}  // namespace zelkar::net::turn
