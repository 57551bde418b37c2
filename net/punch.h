// Opening a path through two home routers: both sides send small probes
// from the game's own socket to every address they know for the other
// (public as the meeting point saw it, and local for two machines behind
// the same router). Each probe also opens this side's router for the
// answer. The first probe or answer that arrives with the pair token names
// the path. No sockets or clocks here: the caller sends and delivers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "meet/protocol.h"

namespace zelkar::net {

inline constexpr std::size_t kPunchBytes = 16;
using PunchBytes = std::array<uint8_t, kPunchBytes>;

struct PunchSend {
  meet::Address to;
  PunchBytes bytes;
};

class Puncher {
 public:
  // Often enough that a path opens a few tens of ms after both routers
  // are open, seldom enough to be no load at all.
  static constexpr int64_t kProbeEveryMs = 100;

  Puncher(uint64_t token, std::vector<meet::Address> candidates);

  // Probes due now, one to each candidate.
  std::vector<PunchSend> due(int64_t nowMs);
  // A datagram from `from`: whether it was a punch packet (true even when
  // refused, so that it never reaches the game's protocol). A probe is
  // answered through `reply`.
  bool receive(const meet::Address& from, std::span<const uint8_t> datagram,
               std::optional<PunchSend>& reply);

  // The address the peer was first heard from with the right token.
  const std::optional<meet::Address>& open() const { return open_; }

  // Whether bytes look like a punch packet at all (its magic).
  static bool isPunch(std::span<const uint8_t> datagram);

 private:
  uint64_t token_;
  std::vector<meet::Address> candidates_;
  int64_t lastProbeMs_ = -1;
  std::optional<meet::Address> open_;
};

}  // namespace zelkar::net
