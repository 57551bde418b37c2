// zelkar-sim's online runs and sync test: `--host`, `--join` and
// `--sync-test`. Apart from the local runner so that only the program, not
// the runner library, needs the network.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "net/session.h"

namespace zelkar::sim {

// Exit status of a session that did not end as its players chose: refused
// (code, version, side), lost, out of step (desync), or no peer came.
inline constexpr int kExitSession = 3;

// args: the arguments after the program name, holding --host, --join or
// --sync-test (see wantsNetRun).
int netMain(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err);

// How a session ended, in a sentence for the terminal.
std::string outcomeText(const net::Session& session);

}  // namespace zelkar::sim
