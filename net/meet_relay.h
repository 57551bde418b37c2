// The game's side of the fall-back to the relay server, without sockets or
// clocks: once the punch has not opened a path, each side asks the meeting
// point for a login to the relay, and the two swap their relayed addresses
// through it. The host allocates first and posts its relayed address; the
// joiner learns it, then allocates a channel to it and connects.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "meet/protocol.h"

namespace zelkar::net {

// A relay login as the meeting point hands it out; the password is the
// digest in base64 (meet/turn_credential.h).
struct RelayLogin {
  meet::Address relay;
  std::string user{};
  std::array<uint8_t, 20> digest{};
};

class MeetRelay {
 public:
  // Login: asking for the login. Allocating: the caller makes its
  // allocation and reports it with allocated() (the host) or, the joiner,
  // first waits in Exchanging for the host's relayed address.
  enum class State : uint8_t { Login, Allocating, Exchanging, Done, Failed };

  // Requests are repeated as the meeting client's are, and given up after
  // the same silence.
  static constexpr int64_t kRetryMs = 250;
  static constexpr int64_t kGiveUpMs = 5000;

  // nonce and code as the meeting point knows this side; token: the pair
  // token it gave both sides, which proves the joiner.
  MeetRelay(bool host, uint64_t nonce, std::string code, uint64_t token);

  std::optional<meet::Bytes> due(int64_t nowMs);
  void receive(std::span<const uint8_t> datagram, int64_t nowMs);
  // The host's allocation is made: post its relayed address.
  void allocated(const meet::Address& relayed, int64_t nowMs);

  State state() const { return state_; }
  const RelayLogin& login() const { return login_; }
  // The joiner: the host's relayed address, once Done.
  const meet::Address& peerRelayed() const { return peerRelayed_; }
  const std::string& failure() const { return failure_; }
  // The meeting point has no relay to offer (a failure of its own kind:
  // the caller may keep punching).
  bool noRelay() const { return noRelay_; }

 private:
  bool host_;
  uint64_t nonce_;
  std::string code_;
  uint64_t token_;
  State state_ = State::Login;
  int64_t lastSentMs_ = -1, lastHeardMs_ = -1;
  RelayLogin login_;
  meet::Address mine_, peerRelayed_;
  std::string failure_;
  bool noRelay_ = false;
};

}  // namespace zelkar::net
