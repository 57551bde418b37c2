// Meeting by code over the game's own ENet socket: the meeting point
// conversation (MeetClient), then the punching (Puncher), then ENet's own
// connect from the joiner. When the punch opens no path in time, both
// sides fall back to the relay server the meeting point names (MeetRelay,
// TurnRelay) and ENet connects through it; the session's code still
// guards the greeting. Never waits: poll() does what is due and returns
// (the relay's allocation runs on a thread of its own), so the window and
// the headless loop stay in charge of time.
//
// While it lives, the link's host hands every datagram to it first; those
// that are the meeting point's or punch packets stop here, all others go
// on to ENet.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "net/enet_link.h"
#include "net/meet_client.h"
#include "net/meet_relay.h"
#include "net/punch.h"
#include "net/turn_relay.h"

namespace zelkar::net {

class Rendezvous {
 public:
  // Relaying: asking for the relay's login, allocating on it and learning
  // the other side's relayed address; Connecting follows as for a punch.
  enum class Step : uint8_t { Meeting, Punching, Relaying, Connecting, Done, Failed };

  // A path that has not opened this long after the two sides learnt of
  // each other will not open: both routers block it (a symmetric NAT).
  static constexpr int64_t kPunchGiveUpMicros = 10'000'000;
  // When the relay is tried. Both sides start punching within the host's
  // poll period (250 ms) and a round trip of each other; probes go every
  // 100 ms, so a path that can open does so within a few hundred ms, and
  // 3 s leaves room for several lost probes and slow round trips while a
  // player behind a symmetric NAT waits little longer than the relay's
  // own set-up. The punch goes on answering meanwhile.
  static constexpr int64_t kRelayAfterMicros = 3'000'000;
  // The relay's login and its allocation are each given up after 5 s of
  // silence; a fall-back not connected after this long will not connect.
  static constexpr int64_t kRelayGiveUpMicros = 15'000'000;

  // meetPoint: the meeting point's IPv4 address and port (host order).
  // code: empty to host (register), the code to join. The link is one
  // listening on any port; the joiner's connects once the path is open.
  Rendezvous(EnetLink& link, const meet::Address& meetPoint, const std::string& code);
  ~Rendezvous();
  Rendezvous(const Rendezvous&) = delete;
  Rendezvous& operator=(const Rendezvous&) = delete;

  Step poll(int64_t nowMicros);

  Step step() const { return step_; }
  // The host's code, once the meeting point has given it.
  const std::string& code() const { return client_.code(); }
  // What failed, in a sentence for the player.
  const std::string& failure() const { return failure_; }
  // The same, as a kind: a window chooses what to advise by it, never by
  // the sentence's words.
  enum class Failure : uint8_t {
    None,
    MeetSilent,   // the meeting point does not answer
    UnknownCode,  // no such code (mistyped or expired), or not this host's
    CodeTaken,    // another joiner has the seat
    MeetFull,     // the meeting point holds as many codes as it may
    NoPath,       // no direct path opened, and no relay stands in
    Relay,        // no direct path opened, and the relay failed too
    Other,
  };
  Failure failureKind() const { return failureKind_; }
  // How the two connected: "local" (both behind one router, its own
  // network), "punched" (through both routers), "relayed" (through the
  // relay server), and the peer's address (relayed: the peer's address on
  // the relay, or for the host the relay server's).
  const std::string& path() const { return path_; }
  const meet::Address& peerAddress() const { return peerAddress_; }
  // The relay the match plays through, when relayed. It must live as long
  // as the link: keep the Rendezvous, or take the relay and keep that.
  const TurnRelay* relay() const { return relay_.get(); }
  std::unique_ptr<TurnRelay> takeRelay() { return std::move(relay_); }

  // The datagram the link's host just received; whether it stops here.
  bool intercept(const meet::Address& from, std::span<const uint8_t> datagram);

 private:
  static meet::Address localSide(const EnetLink& link, const meet::Address& meetPoint);
  struct Allocation;
  void sendTo(const meet::Address& to, std::span<const uint8_t> bytes);
  void fail(Failure kind, std::string why);
  void startRelay(int64_t nowMicros);
  void relayStep(int64_t nowMicros);
  // Starts the allocation on its thread; true once it has finished (with
  // relay_ set, or the step failed).
  bool allocate(const TurnRelay::Config& config);

  EnetLink& link_;
  meet::Address meetPoint_;
  bool hosting_;
  MeetClient client_;
  std::optional<Puncher> puncher_;
  Step step_ = Step::Meeting;
  int64_t nowMs_ = 0;
  int64_t punchStartMicros_ = -1, relayStartMicros_ = -1;
  std::string failure_, path_;
  Failure failureKind_ = Failure::None;
  meet::Address peerAddress_;
  std::optional<MeetRelay> meetRelay_;
  bool noRelay_ = false;  // the meeting point has none: punch on to the end
  std::shared_ptr<Allocation> allocation_;
  std::unique_ptr<TurnRelay> relay_;
};

// The local IPv4 address this machine would use towards `to` (what a
// machine behind the same router reaches it by); zero when unknown.
uint32_t localAddressTowards(const meet::Address& to);

}  // namespace zelkar::net

namespace zelkar::net {
// The meeting point's name or dotted address, resolved to IPv4; nullopt
// when it cannot be.
std::optional<meet::Address> resolveMeetPoint(const Endpoint& at);
}  // namespace zelkar::net
