// Meeting by code over the game's own ENet socket: the meeting point
// conversation (MeetClient), then the punching (Puncher), then ENet's own
// connect from the joiner. Never waits: poll() does what is due and
// returns, so the window and the headless loop stay in charge of time.
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
#include "net/punch.h"

namespace zelkar::net {

class Rendezvous {
 public:
  enum class Step : uint8_t { Meeting, Punching, Connecting, Done, Failed };

  // A path that has not opened this long after the two sides learnt of
  // each other will not open: both routers block it (a symmetric NAT).
  static constexpr int64_t kPunchGiveUpMicros = 10'000'000;

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
  // How the two connected: "local" (both behind one router, its own
  // network), "punched" (through both routers), and the peer's address.
  const std::string& path() const { return path_; }
  const meet::Address& peerAddress() const { return peerAddress_; }

  // The datagram the link's host just received; whether it stops here.
  bool intercept(const meet::Address& from, std::span<const uint8_t> datagram);

 private:
  static meet::Address localSide(const EnetLink& link, const meet::Address& meetPoint);
  void sendTo(const meet::Address& to, std::span<const uint8_t> bytes);
  void fail(std::string why);

  EnetLink& link_;
  meet::Address meetPoint_;
  bool hosting_;
  MeetClient client_;
  std::optional<Puncher> puncher_;
  Step step_ = Step::Meeting;
  int64_t nowMs_ = 0;
  int64_t punchStartMicros_ = -1;
  std::string failure_, path_;
  meet::Address peerAddress_;
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
