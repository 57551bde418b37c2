// The way from "host" or "join" to a connected link, apart from the
// widgets that show it: the connect window and the command line
// (--host/--join with --meet) both go through it. It owns the game's UDP
// socket until the link is connected and handed over, and with it the
// meeting point's conversation and the router's port mapping, so that
// dropping the flow at any moment (cancel) closes the socket and removes
// the mapping.
//
// Never waits: poll() does what is due and returns, so the event loop
// stays in charge of time.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "net/address.h"
#include "net/enet_link.h"
#include "net/enet_rendezvous.h"
#include "net/portmap.h"
#include "net/turn_relay.h"

namespace zelkar::qt {

struct ConnectRequest {
  enum class Role : uint8_t { host, join };
  Role role = Role::host;
  // The meeting point; none: a direct host, or a join by address.
  std::optional<net::Endpoint> meet;
  // Host: where to listen (port 0: any free port). Direct join: the host.
  net::Endpoint endpoint{"", net::kDefaultPort};
  std::string joinCode;  // joining through the meeting point: the host's code
  bool portmap = true;   // a direct host asks its router to forward the port
};

enum class ConnectStage : uint8_t {
  Meeting,     // asking the meeting point (the host: then waiting for a joiner)
  Punching,    // both know each other: opening the path through the routers
  Connecting,  // the path is open, or the address known: the link is greeting
  Relaying,    // going through a relay server
  Waiting,     // a direct host waits on its port for the joiner
  Connected,
  Failed,
};

// What went wrong, for a sentence that says what the player can do.
enum class ConnectFailure : uint8_t {
  None,
  CannotOpen,       // no UDP socket (the port is in use)
  UnknownMeet,      // the meeting point's name does not resolve
  MeetSilent,       // the meeting point does not answer
  UnknownCode,      // no such code, or it expired
  CodeTaken,        // someone else joined with this code
  MeetFull,         // the meeting point holds as many codes as it may
  NobodyJoined,     // a host waited in vain
  NoPath,           // the routers block the path (and no relay stands in)
  RelayFailed,      // the routers block the path and the relay failed too
  HostUnreachable,  // a direct join reached nobody
  Other,            // detail() says what
};

class ConnectFlow {
 public:
  // A host waits this long for its joiner: time to pass the code on and
  // for the friend to start the game. The meeting point keeps a code
  // 15 minutes at most.
  static constexpr int64_t kHostWaitMicros = 600'000'000;
  // A direct join that no host answers in this long reaches nobody.
  static constexpr int64_t kDirectJoinMicros = 10'000'000;

  // Opens the socket at once; a failure shows as stage() Failed.
  explicit ConnectFlow(ConnectRequest request);
  ~ConnectFlow();
  ConnectFlow(const ConnectFlow&) = delete;
  ConnectFlow& operator=(const ConnectFlow&) = delete;

  ConnectStage poll(int64_t nowMicros);

  ConnectStage stage() const { return stage_; }
  // When the current stage began, on poll's clock.
  int64_t stageSinceMicros() const { return stageSince_; }
  ConnectFailure failure() const { return failure_; }
  // The failure in the network's own words (English), for the terminal.
  const std::string& detail() const { return detail_; }

  const ConnectRequest& request() const { return request_; }
  // The host's meeting code once the meeting point gave it; empty otherwise.
  std::string meetCode() const;
  // The port this side's socket is bound to; 0 without one.
  uint16_t port() const { return link_ ? link_->localPort() : 0; }
  // The router's answer: the external "ADDRESS:PORT" once it mapped the
  // port; empty while asking, when it refused, or when not asked.
  std::string externalAddress() const;
  // How the link came up: "direct", "punched", "local" (both behind one
  // router) or "relayed".
  const std::string& path() const { return path_; }
  const std::string& peer() const { return peer_; }

  // The connected link, once; the flow is done with it. The port mapping
  // stays with the flow, which the caller keeps for the session.
  std::unique_ptr<net::EnetLink> takeLink();

 private:
  void setStage(ConnectStage s, int64_t now);
  void fail(ConnectFailure why, std::string detail);
  void pollMeeting(int64_t now);

  ConnectRequest request_;
  std::unique_ptr<net::EnetLink> link_;
  std::unique_ptr<net::Rendezvous> meeting_;
  std::unique_ptr<net::Portmapper> portmap_;
  // The relay a relayed match plays through: taken from the meeting when
  // it ends, kept as long as the flow (and so the link) lives.
  std::unique_ptr<net::TurnRelay> relay_;
  ConnectStage stage_ = ConnectStage::Connecting;
  int64_t stageSince_ = 0;
  int64_t startedAt_ = -1;
  ConnectFailure failure_ = ConnectFailure::None;
  std::string detail_, path_, peer_, code_;
};

// What the join box holds: a meeting code (normalised) or an address.
struct JoinTarget {
  std::string code;                   // 8 characters, or empty
  std::optional<net::Endpoint> host;  // HOST[:PORT], the game's port by default
};
// A text with a dot or a colon is an address (the game's port when none is
// given); any other is a code (dashes, blanks and lower case forgiven), so
// that a mistyped code is said to be one at once instead of being looked
// up as a machine's name. Nullopt when it is neither.
std::optional<JoinTarget> readJoinTarget(const std::string& typed);

}  // namespace zelkar::qt
