#include "net/meet_client.h"

namespace zelkar::net {

namespace {

std::string refusalText(meet::Reason r) {
  switch (r) {
    case meet::Reason::UnknownCode:
      return "the meeting point knows no such code (mistyped, or it expired)";
    case meet::Reason::Taken:
      return "someone else has already joined with this code";
    case meet::Reason::Full:
      return "the meeting point is full; try again in a minute";
    case meet::Reason::NotOwner:
      return "the meeting point gave this code to someone else";
    case meet::Reason::NoRelay:
      return "the meeting point has no relay server to play through";
    case meet::Reason::None:
      break;
  }
  return "the meeting point refused";
}

}  // namespace

MeetClient::MeetClient(bool host, uint64_t nonce, std::string code, const meet::Address& local)
    : host_(host), nonce_(nonce), code_(std::move(code)), local_(local) {}

MeetClient MeetClient::host(uint64_t nonce, const meet::Address& local) {
  return MeetClient(true, nonce, {}, local);
}

MeetClient MeetClient::join(uint64_t nonce, const std::string& code, const meet::Address& local) {
  return MeetClient(false, nonce, code, local);
}

std::optional<meet::Bytes> MeetClient::due(int64_t nowMs) {
  if (state_ == State::Matched || state_ == State::Failed) return std::nullopt;
  if (startedMs_ < 0) startedMs_ = lastHeardMs_ = nowMs;
  if (nowMs - lastHeardMs_ > kGiveUpMs) {
    state_ = State::Failed;
    failure_ = "the meeting point does not answer";
    return std::nullopt;
  }
  const int64_t every = state_ == State::Waiting ? kPollMs : kRetryMs;
  if (lastSentMs_ >= 0 && nowMs - lastSentMs_ < every) return std::nullopt;
  lastSentMs_ = nowMs;
  meet::Message m;
  m.nonce = nonce_;
  if (state_ == State::Waiting) {
    m.kind = meet::Kind::Poll;
    m.code = code_;
  } else {
    m.kind = host_ ? meet::Kind::Register : meet::Kind::Lookup;
    m.code = code_;
    m.local = local_;
  }
  return meet::writeMessage(m);
}

void MeetClient::receive(std::span<const uint8_t> datagram, int64_t nowMs) {
  const std::optional<meet::Message> m = meet::readMessage(datagram);
  // Replies to another nonce are stale or forged: not ours to act on.
  if (!m || m->nonce != nonce_ || state_ == State::Matched || state_ == State::Failed) return;
  lastHeardMs_ = nowMs;
  switch (m->kind) {
    case meet::Kind::Registered:
      if (!host_ || state_ != State::Asking) return;
      code_ = m->code;
      self_ = m->peer;
      state_ = State::Waiting;
      lastSentMs_ = nowMs;
      return;
    case meet::Kind::Waiting:
      return;
    case meet::Kind::Joining:
    case meet::Kind::Found:
      if ((m->kind == meet::Kind::Joining) != host_ || m->code != code_) return;
      peer_ = m->peer;
      peerLocal_ = m->local;
      token_ = m->token;
      state_ = State::Matched;
      return;
    case meet::Kind::Refused:
      state_ = State::Failed;
      failure_ = refusalText(m->reason);
      refusal_ = m->reason;
      return;
    default:
      return;
  }
}

}  // namespace zelkar::net
