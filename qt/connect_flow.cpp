#include "qt/connect_flow.h"

#include <cctype>

#include "meet/protocol.h"

namespace zelkar::qt {

namespace {

using Step = net::Rendezvous::Step;

bool loopbackName(const std::string& host) {
  return host.starts_with("127.") || host == "localhost";
}

// Which advice the window gives for what the rendezvous says failed.
ConnectFailure advice(net::Rendezvous::Failure kind) {
  using F = net::Rendezvous::Failure;
  switch (kind) {
    case F::MeetSilent:
      return ConnectFailure::MeetSilent;
    case F::UnknownCode:
      return ConnectFailure::UnknownCode;
    case F::CodeTaken:
      return ConnectFailure::CodeTaken;
    case F::MeetFull:
      return ConnectFailure::MeetFull;
    case F::NoPath:
      return ConnectFailure::NoPath;
    case F::Relay:
      return ConnectFailure::RelayFailed;
    case F::None:
    case F::Other:
      break;
  }
  return ConnectFailure::Other;
}

}  // namespace

ConnectFlow::ConnectFlow(ConnectRequest request) : request_(std::move(request)) {
  std::string error;
  const bool meeting = request_.meet.has_value();
  if (request_.role == ConnectRequest::Role::join && !meeting)
    link_ = net::EnetLink::connect(request_.endpoint, error);
  else  // a host, or a joiner that meets first: it listens on any port
    link_ = net::EnetLink::listen(
        request_.role == ConnectRequest::Role::host ? request_.endpoint : net::Endpoint{"", 0},
        error);
  if (!link_) {
    fail(ConnectFailure::CannotOpen, error);
    return;
  }
  if (meeting) {
    const auto point = net::resolveMeetPoint(*request_.meet);
    if (!point) {
      fail(ConnectFailure::UnknownMeet, "unknown meeting point \"" + request_.meet->host + "\"");
      return;
    }
    meeting_ = std::make_unique<net::Rendezvous>(*link_, *point, request_.joinCode);
    stage_ = ConnectStage::Meeting;
    return;
  }
  if (request_.role == ConnectRequest::Role::host) {
    stage_ = ConnectStage::Waiting;
    // No router forwards to a loopback address; asking would only send
    // datagrams onto the home network for nothing.
    if (request_.portmap && !loopbackName(request_.endpoint.host)) {
      net::PortmapConfig cfg;
      cfg.request.port = link_->localPort();
      cfg.request.leaseS = net::kDefaultLeaseS;
      portmap_ = std::make_unique<net::Portmapper>(cfg);
    }
  }
}

// The rendezvous unhooks itself from the link's socket before the socket
// closes, and the mapping is removed last.
ConnectFlow::~ConnectFlow() {
  meeting_.reset();
  link_.reset();
  portmap_.reset();
}

void ConnectFlow::setStage(ConnectStage s, int64_t now) {
  if (stage_ != s) stageSince_ = now;
  stage_ = s;
}

void ConnectFlow::fail(ConnectFailure why, std::string detail) {
  stage_ = ConnectStage::Failed;
  failure_ = why;
  detail_ = std::move(detail);
  // Nothing more will use them: the socket closes and the router forgets
  // the port now, not when the window goes.
  meeting_.reset();
  link_.reset();
  portmap_.reset();
}

std::string ConnectFlow::meetCode() const {
  if (request_.role != ConnectRequest::Role::host) return {};
  return meeting_ ? meeting_->code() : code_;
}

std::string ConnectFlow::externalAddress() const {
  if (!portmap_) return {};
  const net::PortmapStatus s = portmap_->status();
  if (s.state != net::PortmapState::Mapped || s.externalIp.empty()) return {};
  return s.externalIp + ':' + std::to_string(s.externalPort);
}

ConnectStage ConnectFlow::poll(int64_t nowMicros) {
  if (stage_ == ConnectStage::Connected || stage_ == ConnectStage::Failed) return stage_;
  if (startedAt_ < 0) startedAt_ = stageSince_ = nowMicros;
  if (meeting_) {
    pollMeeting(nowMicros);
    return stage_;
  }
  link_->service(nowMicros);
  if (link_->state() == net::LinkState::Connected) {
    path_ = "direct";
    peer_ = link_->peerAddress();
    setStage(ConnectStage::Connected, nowMicros);
  } else if (request_.role == ConnectRequest::Role::host) {
    if (nowMicros - startedAt_ > kHostWaitMicros)
      fail(ConnectFailure::NobodyJoined, "nobody joined");
  } else if (link_->state() == net::LinkState::Closed ||
             nowMicros - startedAt_ > kDirectJoinMicros) {
    fail(ConnectFailure::HostUnreachable, "no host answered at " + request_.endpoint.host);
  }
  return stage_;
}

void ConnectFlow::pollMeeting(int64_t now) {
  // Judged before the meeting point is asked again: the wait is over
  // whatever it would answer now.
  if (request_.role == ConnectRequest::Role::host && meeting_->step() == Step::Meeting &&
      now - startedAt_ > kHostWaitMicros) {
    fail(ConnectFailure::NobodyJoined, "nobody joined");
    return;
  }
  switch (meeting_->poll(now)) {
    case Step::Meeting:
      setStage(ConnectStage::Meeting, now);
      return;
    case Step::Punching:
      setStage(ConnectStage::Punching, now);
      return;
    case Step::Relaying:
      setStage(ConnectStage::Relaying, now);
      return;
    case Step::Connecting:
      setStage(ConnectStage::Connecting, now);
      return;
    case Step::Done:
      code_ = meeting_->code();  // the session's greeting goes on using it
      path_ = meeting_->path();
      peer_ = meet::addressText(meeting_->peerAddress());
      relay_ = meeting_->takeRelay();
      meeting_.reset();  // its hook leaves the socket to ENet alone
      setStage(ConnectStage::Connected, now);
      return;
    case Step::Failed: {
      const std::string why = meeting_->failure();
      fail(advice(meeting_->failureKind()), why);
      return;
    }
  }
}

std::unique_ptr<net::EnetLink> ConnectFlow::takeLink() {
  if (stage_ != ConnectStage::Connected) return nullptr;
  return std::move(link_);
}

std::optional<JoinTarget> readJoinTarget(const std::string& typed) {
  std::string text;
  for (const char c : typed)
    if (!std::isspace(static_cast<unsigned char>(c))) text += c;
  if (text.empty()) return std::nullopt;
  if (text.find_first_of(".:") == std::string::npos) {
    std::string code = meet::normaliseCode(text);
    if (code.empty()) return std::nullopt;
    return JoinTarget{code, {}};
  }
  const auto at = net::parseJoinAddress(text);
  if (!at) return std::nullopt;
  return JoinTarget{{}, at};
}

}  // namespace zelkar::qt
