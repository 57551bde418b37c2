// The command line of zelkar-sim's online runs (--host / --join) and its
// sync test (--sync-test): apart from the local runner's options because
// they need the network and the session, which the runner library does not
// link.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "net/enet_address.h"
#include "net/session.h"

namespace zelkar::sim {

struct NetOptions {
  enum class Mode : uint8_t { Local, Host, Join, SyncTest };
  Mode mode = Mode::Local;  // Local: none of these options, the plain runner's turn
  net::Endpoint endpoint;   // where the host listens, or the joiner connects
  std::string code;         // the session code both sides must give
  std::optional<net::Side> side;
  int inputDelay = 0;
  int syncDepth = 0;  // --sync-test N
  uint32_t seed = 0;
  std::string scriptPath;  // empty: standard input
  std::string recordPath;  // empty: no replay file
  bool dumpHash = false;
  // --meet HOST[:PORT]: meet through this meeting point; --host then
  // registers for a code and --join takes that code.
  std::optional<net::Endpoint> meet;
  std::string joinCode;
};

inline constexpr std::size_t kMaxCodeLength = 16;  // typed by hand; 16 is plenty against guessing

// Whether `args` ask for an online run or the sync test.
bool wantsNetRun(const std::vector<std::string>& args);

// Fills opts from args, or returns what is wrong.
std::string parseNetOptions(const std::vector<std::string>& args, NetOptions& opts);

// A session code is printable ASCII without blanks, 1 to kMaxCodeLength
// characters, so that it can be read aloud and typed on any keyboard.
bool validSessionCode(const std::string& code);

}  // namespace zelkar::sim
