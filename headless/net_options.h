// The command line of zelkar-sim's online runs (--host / --join) and its
// sync test (--sync-test): the online options as the window reads them
// (net/online_options.h), plus the runner's own --script, --record,
// --dump hash and --seed, and the ways across routers (--relay,
// --relay-peer, --no-portmap).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "net/online_options.h"
#include "net/turn_url.h"

namespace zelkar::sim {

struct NetOptions {
  net::OnlineOptions online;  // mode None: none of these options, the plain runner's turn
  uint32_t seed = 0;
  std::string scriptPath;  // empty: standard input
  std::string recordPath;  // empty: no replay file
  bool dumpHash = false;
  bool portmap = true;                  // the host asks its router to forward the port
  std::optional<net::TurnUrl> relay;    // play through this relay server
  std::vector<std::string> relayPeers;  // hosting through it: who else may send
  // --meet HOST[:PORT]: meet through this meeting point; --host then
  // registers for a code and --join takes that code.
  std::optional<net::Endpoint> meet;
  std::string joinCode;
};

// Whether `args` ask for an online run or the sync test.
bool wantsNetRun(const std::vector<std::string>& args);

// Fills opts from args, or returns what is wrong.
std::string parseNetOptions(const std::vector<std::string>& args, NetOptions& opts);

}  // namespace zelkar::sim
