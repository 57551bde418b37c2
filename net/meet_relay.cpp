#include "net/meet_relay.h"

namespace zelkar::net {

MeetRelay::MeetRelay(bool host, uint64_t nonce, std::string code, uint64_t token)
    : host_(host), nonce_(nonce), code_(std::move(code)), token_(token) {}

void MeetRelay::allocated(const meet::Address& relayed, int64_t nowMs) {
  if (!host_ || state_ != State::Allocating) return;
  mine_ = relayed;
  state_ = State::Exchanging;
  lastSentMs_ = -1;
  lastHeardMs_ = nowMs;
}

std::optional<meet::Bytes> MeetRelay::due(int64_t nowMs) {
  if (state_ != State::Login && state_ != State::Exchanging) return std::nullopt;
  if (lastHeardMs_ < 0) lastHeardMs_ = nowMs;
  if (nowMs - lastHeardMs_ > kGiveUpMs) {
    state_ = State::Failed;
    failure_ = "the meeting point does not answer";
    return std::nullopt;
  }
  if (lastSentMs_ >= 0 && nowMs - lastSentMs_ < kRetryMs) return std::nullopt;
  lastSentMs_ = nowMs;
  meet::Message m;
  m.kind = state_ == State::Login ? meet::Kind::RelayAsk : meet::Kind::RelayAt;
  m.nonce = nonce_;
  m.code = code_;
  // The host is known by its nonce alone; the token is the joiner's proof.
  m.token = host_ ? 0 : token_;
  if (state_ == State::Exchanging) m.peer = mine_;
  return meet::writeMessage(m);
}

void MeetRelay::receive(std::span<const uint8_t> datagram, int64_t nowMs) {
  const std::optional<meet::Message> m = meet::readMessage(datagram);
  if (!m || m->nonce != nonce_ || state_ == State::Done || state_ == State::Failed) return;
  if (m->kind == meet::Kind::Refused) {
    // Stale answers from the meeting are not about the relay.
    if (m->reason == meet::Reason::Taken) return;
    state_ = State::Failed;
    noRelay_ = m->reason == meet::Reason::NoRelay;
    failure_ = noRelay_ ? "the meeting point has no relay server to play through"
                        : "the meeting point no longer knows this match";
    return;
  }
  if (m->code != code_) return;
  if (m->kind == meet::Kind::RelayLogin && state_ == State::Login) {
    lastHeardMs_ = nowMs;
    login_.relay = m->peer;
    login_.user = meet::relayUser(m->expiry, code_, host_);
    login_.digest = m->digest;
    // The joiner has nothing to allocate towards until the host has posted.
    state_ = host_ ? State::Allocating : State::Exchanging;
    lastSentMs_ = -1;
  } else if (m->kind == meet::Kind::RelayPeer && state_ == State::Exchanging) {
    lastHeardMs_ = nowMs;
    // The host's post is answered either way; the joiner waits for the
    // host's relayed address to be there.
    if (host_ || m->peer.ip != 0) {
      peerRelayed_ = m->peer;
      state_ = State::Done;
    }
  }
}

}  // namespace zelkar::net
