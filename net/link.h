// The transport between the two machines of an online match: one peer,
// two channels, and nothing that ever waits. The session talks to the
// network only through this interface, so a real UDP transport and the
// in-process simulated link of the tests are interchangeable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelkar::net {

// Reliable: delivered once, in the order sent (match events, hashes).
// Unreliable: may be lost, duplicated or reordered (per-tick inputs, which
// repeat whatever the peer has not acknowledged yet).
enum class Channel : uint8_t { Reliable, Unreliable };

// Connecting: the handshake of the transport is under way (a host waits for
// its peer here). Connected: packets flow. Closed: the peer left or the
// transport gave up; nothing arrives any more.
enum class LinkState : uint8_t { Connecting, Connected, Closed };

class Link {
 public:
  virtual ~Link() = default;

  // Largest packet the session ever sends: well under a UDP datagram on
  // any path MTU (1280 bytes is IPv6's minimum), so nothing fragments.
  static constexpr std::size_t kMaxPacketBytes = 1200;

  // Queues one packet for the peer. Packets sent while not Connected are
  // dropped. Never blocks.
  virtual void send(Channel channel, std::span<const uint8_t> packet) = 0;
  // Moves the next packet that arrived into `out` (its old contents are
  // replaced); false when nothing waits. Never blocks.
  virtual bool receive(std::vector<uint8_t>& out) = 0;
  virtual LinkState state() const = 0;
  // Moves packets both ways and updates the state; the time is passed in
  // (microseconds, any fixed origin) so that callers own the clock.
  virtual void service(int64_t nowMicros) = 0;

  // The listening side ends its link with the present caller, after what
  // was already queued for it (a refusal), and waits for the next one
  // (state Connecting). A connecting side's link simply closes.
  virtual void turnAway() = 0;
  // Where the present caller comes from (its address, without the port),
  // so that a host can count tries per address; empty when none.
  virtual std::string peerAddress() const = 0;
};

}  // namespace zelkar::net
