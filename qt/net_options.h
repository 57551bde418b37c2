// The options of online play: --online (the connect dialog), --host [PORT],
// --join HOST[:PORT] or --join CODE with --meet HOST[:PORT], --code, --side,
// --input-delay, --no-portmap, and --sync-test N for a local game. Read apart from
// the other options (and taken out of the list before they are read) so
// that online play stays in files of its own.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "net/address.h"
#include "net/session.h"
#include "qt/command_line.h"

namespace zelkar::qt {

struct NetOptions {
  enum class Role { none, host, join };
  Role role = Role::none;
  net::Endpoint endpoint;  // the host's port (and address), or where the joiner goes
  // The host named no port: through a meeting point any free one serves.
  bool portChosen = false;
  bool dialog = false;                // --online: the connect dialog chooses
  std::optional<net::Endpoint> meet;  // --meet: the meeting point
  QString joinCode;                   // --join's meeting code when --meet is given
  bool portmap = true;                // --no-portmap turns the router's mapping off
  QString code;                       // empty: the host makes one, the joiner is asked for it
  std::optional<net::Side> side;
  int inputDelay = 0;
  int syncTest = 0;    // a local game rolled back this many ticks after each tick; 0 off
  QString recordPath;  // online: the confirmed match is written here at the end
  QString error;       // what was wrong; empty when all is well
};

// Reads the online options out of `args` (the program first) and removes
// them, leaving the others for parseCommandLine.
NetOptions takeNetOptions(QStringList& args);

// All the options: the online ones into `net`, the others as
// parseCommandLine reads them. Online, --record is the session's (its
// confirmed match) and --replay and --hashes are refused.
CommandLine parseWithNet(const QStringList& args, NetOptions& net);

// The lines --help adds for these options.
QString netUsageText();

// A fresh session code: six characters from an alphabet without look-alikes
// (no 0/O, 1/I/L), read aloud and typed easily; `entropy` chooses it.
QString makeSessionCode(uint64_t entropy);

}  // namespace zelkar::qt
