// The options of online play, read alike by zelkar-sim and the window:
// --host [[ADDRESS:]PORT], --join HOST[:PORT], --code CODE,
// --side left|right, --input-delay N, and --sync-test N (a local game
// rolled back after every tick). Each takes "--name value" or
// "--name=value"; --host's port may be left out (the next word is its port
// unless it starts with "--"), so a host needs to type nothing but --host.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "net/address.h"
#include "net/session.h"

namespace zelkar::net {

struct OnlineOptions {
  enum class Mode : uint8_t { None, Host, Join, SyncTest };
  Mode mode = Mode::None;
  Endpoint endpoint;  // where the host listens, or where the joiner goes
  std::optional<std::string> code;
  std::optional<Side> side;
  int inputDelay = 0;
  int syncDepth = 0;  // --sync-test N
  bool online() const { return mode == Mode::Host || mode == Mode::Join; }
};

// Typed by hand and read aloud: 16 characters is plenty against guessing,
// with the host refusing an address after a few wrong tries.
inline constexpr std::size_t kMaxCodeLength = 16;

// A session code is printable ASCII without blanks, 1 to kMaxCodeLength
// characters, so that it can be read aloud and typed on any keyboard.
bool validSessionCode(const std::string& code);

// Takes the online options out of `args` (the arguments after the
// program's name) into `out`, leaving every other argument in its order.
// Returns what is wrong, empty when nothing is.
std::string takeOnlineOptions(std::vector<std::string>& args, OnlineOptions& out);

}  // namespace zelkar::net
