// zelkar-sim meeting its peer through a meeting point: the --meet option,
// and the wait for the code, the peer and the opened path before the
// session starts on the same socket.
#pragma once

#include <ostream>
#include <string>

#include "headless/net_options.h"
#include "headless/net_reach.h"
#include "net/enet_link.h"

namespace zelkar::sim {

// --meet HOST[:PORT] (the port 41831 when not given) into opts.meet.
std::string parseMeetOption(const std::string& value, NetOptions& opts);

// Reads --join's value as a code with --meet, and checks that --meet comes
// with --host or --join.
std::string finishJoinTarget(NetOptions& opts);

// Registers (host) or looks the code up (joiner), punches, and for the
// joiner starts ENet's connect; returns once the link is connected, or
// false with the reason on err. Sets opts.code to the meeting code when no
// --code was given, so that the code guards the session's greeting too.
// Says which path it took and how long it took; a relay it fell back to
// goes to `reach` for the rest of the session.
bool meetPeer(NetOptions& opts, net::EnetLink& link, NetReach& reach, std::ostream& err);

}  // namespace zelkar::sim
