// Where a networked match meets: the host's port (and, for tests and
// machines with several networks, the address it listens on) and the
// joiner's "HOST[:PORT]". Kept apart from the link so that both front ends
// read their options the same way and the reading is tested alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelkar::net {

// A UDP port nothing well known uses, the same on every machine so that a
// joiner rarely has to type one.
inline constexpr uint16_t kDefaultPort = 41830;

struct Endpoint {
  std::string host;  // a name or a dotted IPv4 address; empty: every interface
  uint16_t port = kDefaultPort;
  bool operator==(const Endpoint&) const = default;
};

// "HOST", "HOST:PORT" or ":PORT" (the joiner's --join); nullopt when the
// host is missing or the port is not a whole number from 1 to 65535.
std::optional<Endpoint> parseJoinAddress(std::string_view text);

// "PORT" or "ADDRESS:PORT" (the host's --host); port 0 lets the system
// choose a free one. Nullopt when the port is not 0 to 65535.
std::optional<Endpoint> parseListenAddress(std::string_view text);

}  // namespace zelkar::net
