// Feeds one side's script into an online session, as that side's player
// would act: key lines, the host's start line and either side's answers go
// in when the shared match has run the ticks the tick lines before them
// count. A tick line ends early when the timer stops (the match is over),
// as a local run's tick line does; after a start or a Y the next lines wait
// for the timer to run again, and a joiner's first lines wait for the
// host's start.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "events/script.h"
#include "net/session.h"

namespace zelkar::sim {

// What a side's script sets before the session opens.
struct ScriptSetup {
  ConfigValues settings = kScriptConfig;
  std::optional<uint32_t> loadSeed;  // a seed line before any event
};

// Checks that the script suits its side and reads its setup. Config and
// seed lines belong before the first event (the session fixes the settings
// when it opens); a joiner has no start or seed lines (the host decides).
std::optional<ScriptError> checkSideScript(const std::vector<ScriptLine>& lines, net::Role role,
                                           ScriptSetup& setup);

class ScriptFeeder {
 public:
  ScriptFeeder(std::vector<ScriptLine> lines, net::Role role);

  // Hands the session every line that is due; call after each poll.
  void step(net::Session& session);
  // Every line has gone in and the session has been told so.
  bool exhausted() const { return doneSent_; }

 private:
  bool due(const net::Session& session);

  std::vector<ScriptLine> lines_;
  std::size_t next_ = 0;
  bool waitForTimer_;        // until the shared timer runs
  int64_t tickTarget_ = -1;  // a tick line waits for this many ticks; -1 none
  int64_t base_ = 0;         // the ticks the next tick line counts from
  bool doneSent_ = false;
};

}  // namespace zelkar::sim
