#include "net/address.h"

#include <charconv>

namespace zelkar::net {

namespace {

constexpr uint32_t kMaxPort = 65535;  // UDP ports are 16 bits

// Digits only: a sign, blanks or a trailing letter make it no port.
std::optional<uint16_t> parsePort(std::string_view text, uint32_t lowest) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  uint32_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (v < lowest || v > kMaxPort) return std::nullopt;
  return static_cast<uint16_t>(v);
}

bool hasBlank(std::string_view text) {
  return text.find_first_of(" \t\r\n") != std::string_view::npos;
}

}  // namespace

std::optional<Endpoint> parseJoinAddress(std::string_view text) {
  if (hasBlank(text)) return std::nullopt;
  Endpoint e;
  const auto colon = text.rfind(':');
  if (colon == std::string_view::npos) {
    e.host = std::string(text);
  } else {
    const auto port = parsePort(text.substr(colon + 1), 1);  // nothing listens on port 0
    if (!port) return std::nullopt;
    e.host = std::string(text.substr(0, colon));
    e.port = *port;
  }
  // An IPv6 address would need brackets to tell its colons from the port's.
  if (e.host.empty() || e.host.find(':') != std::string::npos) return std::nullopt;
  return e;
}

std::optional<Endpoint> parseListenAddress(std::string_view text) {
  if (hasBlank(text)) return std::nullopt;
  Endpoint e;
  const auto colon = text.rfind(':');
  const std::string_view portText = colon == std::string_view::npos ? text : text.substr(colon + 1);
  const auto port = parsePort(portText, 0);
  if (!port) return std::nullopt;
  e.port = *port;
  if (colon != std::string_view::npos) {
    e.host = std::string(text.substr(0, colon));
    if (e.host.empty() || e.host.find(':') != std::string::npos) return std::nullopt;
  }
  return e;
}

}  // namespace zelkar::net
