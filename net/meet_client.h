// The game's side of the meeting point, without sockets or clocks: what to
// send and when, and what the answers mean. A host registers, shows its
// code and polls until a joiner appears; a joiner looks the code up. Both
// end with the other side's public and local address and the pair token
// that their punch packets carry.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "meet/protocol.h"

namespace zelkar::net {

class MeetClient {
 public:
  enum class State : uint8_t { Asking, Waiting, Matched, Failed };

  // A request is repeated this often until answered, and given up after
  // kGiveUpMs without any answer: a meeting point that does not answer in
  // 5 s is down or unreachable, and the player should hear so.
  static constexpr int64_t kRetryMs = 500;
  static constexpr int64_t kGiveUpMs = 5000;
  // A waiting host asks this often whether someone has come; each poll
  // also keeps its router's mapping and its code alive.
  static constexpr int64_t kPollMs = 250;

  // nonce: 64 unpredictable bits, the host's proof that the code is its own.
  static MeetClient host(uint64_t nonce, const meet::Address& local);
  static MeetClient join(uint64_t nonce, const std::string& code, const meet::Address& local);

  // The request to send now, if one is due.
  std::optional<meet::Bytes> due(int64_t nowMs);
  // A waiting host's next poll goes out at once: the joiner's first probe
  // has arrived, so the meeting point has news for it. Once only, so that
  // forged probes cannot make the host flood its meeting point.
  void hurry() {
    if (!hurried_) lastSentMs_ = -1;
    hurried_ = true;
  }
  // A datagram from the meeting point; anything else is ignored.
  void receive(std::span<const uint8_t> datagram, int64_t nowMs);

  State state() const { return state_; }
  const std::string& code() const { return code_; }
  const meet::Address& publicSelf() const { return self_; }  // host: as the point saw it
  const meet::Address& peer() const { return peer_; }
  const meet::Address& peerLocal() const { return peerLocal_; }
  uint64_t token() const { return token_; }
  uint64_t nonce() const { return nonce_; }
  const std::string& failure() const { return failure_; }
  // Why the meeting point refused; None when it fell silent instead.
  meet::Reason refusal() const { return refusal_; }

 private:
  MeetClient(bool host, uint64_t nonce, std::string code, const meet::Address& local);

  bool host_;
  uint64_t nonce_;
  std::string code_;
  meet::Address local_;
  State state_ = State::Asking;
  int64_t startedMs_ = -1, lastSentMs_ = -1, lastHeardMs_ = -1;
  meet::Address self_, peer_, peerLocal_;
  uint64_t token_ = 0;
  bool hurried_ = false;
  std::string failure_;
  meet::Reason refusal_ = meet::Reason::None;
};

}  // namespace zelkar::net
