// zelkar-meet's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "meet/limits.h"
#include "meet/protocol.h"

namespace zelkar::meet {

inline constexpr const char* kUsage =
    R"(usage: zelkar-meet [--listen ADDRESS:PORT] [--max-codes N] [--per-address-rate N]
                   [--relay ADDRESS:PORT --relay-secret-file FILE [--relay-lifetime S]]

The meeting point for Zelkar's online play: a host registers and gets an
8-character code, a joiner asks by code, and each learns the other's public
address so that the two can open a direct path. Game traffic never passes
through here. Logs one line per event on standard error; SIGTERM or SIGINT
ends it cleanly.

  --listen ADDRESS:PORT   the IPv4 address and UDP port to listen on
                          (default 0.0.0.0:41831)
  --max-codes N           codes held at once, all hosts together (default 10000)
  --per-address-rate N    requests a second from one address (default 10,
                          bursts of twice that)
  --relay ADDRESS:PORT    the relay server (coturn with use-auth-secret) that
                          players whose routers let no direct path open are
                          given short-lived logins for
  --relay-secret-file FILE  the relay's static-auth-secret, read from FILE
                          (its first line), never from the command line
  --relay-lifetime S      how long a login works, in seconds (default 21600,
                          six hours: the relay asks for it again at every
                          refresh, so it must outlast the session)
)";

struct Options {
  Address listen{0, kDefaultMeetPort};
  Limits limits;
  Address relay{};  // ip 0: no relay offered
  std::string relaySecretFile{};
  uint32_t relayLifetimeS = 6 * 3600;
  bool help = false;
};

// The secret from the first line of `path` (trailing blanks and the line
// break dropped), or nullopt with `error` set: missing, unreadable, empty,
// or larger than any secret (4 kB).
std::optional<std::string> readSecretFile(const std::string& path, std::string& error);

// Fills opts, or returns what is wrong.
std::string parseOptions(const std::vector<std::string>& args, Options& opts);

// "A.B.C.D:PORT" with a port from 1 to 65535.
bool parseAddress(const std::string& text, Address& out);

}  // namespace zelkar::meet
