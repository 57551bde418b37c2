// The link to the other machine over real UDP, through ENet: one ENet host
// on each side and one peer. Channel 0 is reliable and ordered (the session
// sends only a refusal there), channel 1 unreliable and unsequenced
// (everything else, which the session repeats until it is acknowledged).
//
// Nothing here ever waits: service() handles whatever the socket holds and
// returns, so the window's event loop and the headless loop stay in charge
// of time.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "net/address.h"
#include "net/link.h"

struct _ENetHost;
struct _ENetPeer;

namespace zelkar::net {

class EnetLink final : public Link {
 public:
  // Listens on `at` for one peer (the host's side); a second one is turned
  // away. Null with `error` set when the port cannot be opened.
  static std::unique_ptr<EnetLink> listen(const Endpoint& at, std::string& error);
  // Starts connecting to `to` (the joiner's side). Null with `error` set
  // when the name cannot be resolved or no socket can be opened.
  static std::unique_ptr<EnetLink> connect(const Endpoint& to, std::string& error);

  ~EnetLink() override;
  EnetLink(const EnetLink&) = delete;
  EnetLink& operator=(const EnetLink&) = delete;

  void send(Channel channel, std::span<const uint8_t> bytes) override;
  bool receive(std::vector<uint8_t>& out) override;
  LinkState state() const override { return state_; }
  void service(int64_t nowMicros) override;
  void turnAway() override;
  std::string peerAddress() const override;

  // Ends the link once what was sent has been delivered, so a last
  // reliable message (a stop, an answer, a hash) still arrives; the state
  // turns Closed when the peer confirms or ENet gives up on it.
  void close();

  // Meeting by code: the ENet host itself, so that the meeting point sees
  // and the punch packets open the very port the game then plays on.
  _ENetHost* rawHost() const { return host_; }
  // The joiner's side once a path is open: connect to `to` (IPv4 and port
  // in host byte order) from this link's own socket. False when the link
  // already has a peer.
  bool connectTo(uint32_t ip, uint16_t port);

  // The port this side's socket is bound to (the one the system chose
  // when listening on port 0).
  uint16_t localPort() const;
  // UDP payload bytes, ENet's own headers included, since the link opened.
  uint64_t bytesSent() const;
  uint64_t bytesReceived() const;
  // ENet's smoothed round-trip time to the peer in ms; 0 without one.
  uint32_t roundTripMs() const;
  // Packets dropped here: larger than any the session sends
  // (kMaxPacketBytes), from a caller turned away, or arriving before the
  // handshake or after the close.
  uint64_t dropped() const { return dropped_; }

 private:
  EnetLink(_ENetHost* host, _ENetPeer* peer, bool listening);

  _ENetHost* host_;
  _ENetPeer* peer_;  // null on the listening side until a peer connects
  bool listening_;
  LinkState state_ = LinkState::Connecting;
  bool closing_ = false;
  std::deque<std::vector<uint8_t>> inbox_;
  uint64_t dropped_ = 0;
};

}  // namespace zelkar::net
