#include "net/enet_rendezvous.h"

#include <arpa/inet.h>
#include <enet/enet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "meet/turn_credential.h"

namespace zelkar::net {

namespace {

// ENet's intercept hook carries no context: the live rendezvous of each
// host are listed here. One thread drives the network, so no lock.
std::vector<std::pair<ENetHost*, Rendezvous*>>& registry() {
  static std::vector<std::pair<ENetHost*, Rendezvous*>> live;
  return live;
}

int ENET_CALLBACK hook(ENetHost* host, ENetEvent* /*event*/) {
  for (const auto& [h, r] : registry()) {
    if (h != host) continue;
    const meet::Address from{ENET_NET_TO_HOST_32(host->receivedAddress.host),
                             host->receivedAddress.port};
    return r->intercept(from,
                        std::span<const uint8_t>(host->receivedData, host->receivedDataLength))
               ? 1
               : 0;
  }
  return 0;
}

uint64_t unpredictable() {
  std::random_device device;  // the system's random source on Linux
  return uint64_t(device()) << 32 | device();
}

constexpr uint32_t kLoopback = 0x7F000001;

}  // namespace

// The relay's allocation, made on a thread of its own because the login
// waits for the relay's answers. Shared with that thread, so a rendezvous
// cancelled meanwhile returns at once and the thread ends what it made.
struct Rendezvous::Allocation {
  std::mutex mutex;
  bool finished = false;
  std::unique_ptr<TurnRelay> relay;
  std::string error;
};

meet::Address Rendezvous::localSide(const EnetLink& link, const meet::Address& meetPoint) {
  return {localAddressTowards(meetPoint), link.localPort()};
}

uint32_t localAddressTowards(const meet::Address& to) {
  // Connecting a UDP socket sends nothing; it only asks the system for the
  // route, and with it the source address.
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return 0;
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_addr.s_addr = htonl(to.ip);
  peer.sin_port = htons(to.port);
  sockaddr_in self{};
  socklen_t len = sizeof self;
  uint32_t ip = 0;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&self), &len) == 0)
    ip = ntohl(self.sin_addr.s_addr);
  ::close(fd);
  return ip;
}

std::optional<meet::Address> resolveMeetPoint(const Endpoint& at) {
  if (enet_initialize() != 0) return std::nullopt;
  ENetAddress a{};
  if (at.host.empty() || enet_address_set_host(&a, at.host.c_str()) != 0) return std::nullopt;
  return meet::Address{ENET_NET_TO_HOST_32(a.host), at.port};
}

Rendezvous::Rendezvous(EnetLink& link, const meet::Address& meetPoint, const std::string& code)
    : link_(link),
      meetPoint_(meetPoint),
      hosting_(code.empty()),
      client_(hosting_ ? MeetClient::host(unpredictable(), localSide(link, meetPoint))
                       : MeetClient::join(unpredictable(), code, localSide(link, meetPoint))) {
  registry().emplace_back(link_.rawHost(), this);
  link_.rawHost()->intercept = hook;
}

Rendezvous::~Rendezvous() {
  std::erase_if(registry(), [this](const auto& e) { return e.second == this; });
  if (std::none_of(registry().begin(), registry().end(),
                   [this](const auto& e) { return e.first == link_.rawHost(); }))
    link_.rawHost()->intercept = nullptr;
}

void Rendezvous::sendTo(const meet::Address& to, std::span<const uint8_t> bytes) {
  ENetAddress a{};
  a.host = ENET_HOST_TO_NET_32(to.ip);
  a.port = to.port;
  ENetBuffer buffer{};
  buffer.data = const_cast<uint8_t*>(bytes.data());
  buffer.dataLength = bytes.size();
  // A lost datagram is sent again at the next turn; nothing to do here.
  enet_socket_send(link_.rawHost()->socket, &a, &buffer, 1);
}

void Rendezvous::fail(Failure kind, std::string why) {
  step_ = Step::Failed;
  failureKind_ = kind;
  failure_ = std::move(why);
}

namespace {

Rendezvous::Failure meetFailure(meet::Reason refusal) {
  using F = Rendezvous::Failure;
  switch (refusal) {
    case meet::Reason::None:
      return F::MeetSilent;
    case meet::Reason::UnknownCode:
    case meet::Reason::NotOwner:
      return F::UnknownCode;
    case meet::Reason::Taken:
      return F::CodeTaken;
    case meet::Reason::Full:
      return F::MeetFull;
    case meet::Reason::NoRelay:
      break;
  }
  return F::Other;
}

}  // namespace

bool Rendezvous::intercept(const meet::Address& from, std::span<const uint8_t> datagram) {
  if (from == meetPoint_ && datagram.size() == meet::kMessageBytes) {
    client_.receive(datagram, nowMs_);
    if (meetRelay_) meetRelay_->receive(datagram, nowMs_);
    return true;
  }
  if (!Puncher::isPunch(datagram)) return false;
  std::optional<PunchSend> reply;
  if (puncher_)
    puncher_->receive(from, datagram, reply);
  else if (client_.state() == MeetClient::State::Waiting)
    client_.hurry();
  if (reply) sendTo(reply->to, reply->bytes);
  return true;
}

Rendezvous::Step Rendezvous::poll(int64_t nowMicros) {
  if (step_ == Step::Done || step_ == Step::Failed) return step_;
  nowMs_ = nowMicros / 1000;
  link_.service(nowMicros);
  auto nameThePath = [this](const meet::Address& at) {
    peerAddress_ = at;
    path_ = at == client_.peerLocal() && !(at == client_.peer()) ? "local" : "punched";
  };
  if (hosting_ && link_.state() == LinkState::Connected) {
    // The joiner's ENet connect came through the relay (handed to ENet
    // from this machine's loopback), the opened path, or, before any
    // punching, straight to a port the router forwards.
    if (relay_ && link_.peerAddress() == "127.0.0.1") {
      path_ = "relayed";
      peerAddress_ = meetRelay_->login().relay;
    } else if (puncher_ && puncher_->open()) {
      nameThePath(*puncher_->open());
    } else {
      path_ = "direct";
    }
    step_ = Step::Done;
    return step_;
  }
  if (link_.state() == LinkState::Closed) {
    fail(Failure::Other, "the other side closed the connection");
    return step_;
  }
  switch (step_) {
    case Step::Meeting:
      if (const auto request = client_.due(nowMs_)) sendTo(meetPoint_, *request);
      if (client_.state() == MeetClient::State::Failed) {
        fail(meetFailure(client_.refusal()), client_.failure());
      } else if (client_.state() == MeetClient::State::Matched) {
        puncher_.emplace(client_.token(),
                         std::vector<meet::Address>{client_.peer(), client_.peerLocal()});
        punchStartMicros_ = nowMicros;
        step_ = Step::Punching;
      }
      break;
    case Step::Punching:
      for (const PunchSend& s : puncher_->due(nowMs_)) sendTo(s.to, s.bytes);
      if (!hosting_ && puncher_->open()) {
        nameThePath(*puncher_->open());
        if (!link_.connectTo(peerAddress_.ip, peerAddress_.port)) {
          fail(Failure::Other, "cannot start connecting to " + meet::addressText(peerAddress_));
          break;
        }
        step_ = Step::Connecting;
      } else if (!noRelay_ && nowMicros - punchStartMicros_ > kRelayAfterMicros) {
        startRelay(nowMicros);
      }
      break;
    case Step::Relaying:
      relayStep(nowMicros);
      break;
    case Step::Connecting:
      if (link_.state() == LinkState::Connected) step_ = Step::Done;
      break;
    case Step::Done:
    case Step::Failed:
      break;
  }
  const bool relaying = relayStartMicros_ >= 0 && !noRelay_;
  if (relaying && (step_ == Step::Relaying || step_ == Step::Connecting) &&
      nowMicros - relayStartMicros_ > kRelayGiveUpMicros) {
    fail(Failure::Relay,
         "no direct path to the other player opened, and the relay server did not connect "
         "the two of you within " +
             std::to_string(kRelayGiveUpMicros / 1'000'000) + " s");
  } else if (!relaying && (step_ == Step::Punching || step_ == Step::Connecting) &&
             nowMicros - punchStartMicros_ > kPunchGiveUpMicros) {
    fail(Failure::NoPath,
         "no direct path to the other player opened within " +
             std::to_string(kPunchGiveUpMicros / 1'000'000) +
             " s: one of the two routers blocks it" +
             (noRelay_ ? ", and the meeting point has no relay server to play through instead"
                       : ""));
  }
  return step_;
}

void Rendezvous::startRelay(int64_t nowMicros) {
  meetRelay_.emplace(hosting_, client_.nonce(), client_.code(), client_.token());
  relayStartMicros_ = nowMicros;
  step_ = Step::Relaying;
}

bool Rendezvous::allocate(const TurnRelay::Config& config) {
  if (!allocation_) {
    allocation_ = std::make_shared<Allocation>();
    std::thread([a = allocation_, config] {
      std::string error;
      std::unique_ptr<TurnRelay> relay = TurnRelay::start(config, error);
      const std::lock_guard lock(a->mutex);
      a->relay = std::move(relay);
      a->error = std::move(error);
      a->finished = true;
    }).detach();
    return false;
  }
  const std::lock_guard lock(allocation_->mutex);
  if (!allocation_->finished) return false;
  relay_ = std::move(allocation_->relay);
  if (!relay_)
    fail(Failure::Relay, "the relay server at " + meet::addressText(meetRelay_->login().relay) +
                             " could not be used: " + allocation_->error);
  allocation_.reset();
  return true;
}

void Rendezvous::relayStep(int64_t nowMicros) {
  // Probes are still answered (intercept), so a peer that is punching
  // yet may open its path to this side; none are sent.
  if (const auto request = meetRelay_->due(nowMs_)) sendTo(meetPoint_, *request);
  const MeetRelay::State state = meetRelay_->state();
  if (state == MeetRelay::State::Failed) {
    if (meetRelay_->noRelay()) {
      noRelay_ = true;  // punch on: the path may yet open
      step_ = Step::Punching;
    } else {
      fail(Failure::Relay, "cannot play through the relay: " + meetRelay_->failure());
    }
    return;
  }
  const bool allocating =
      hosting_ ? state == MeetRelay::State::Allocating : state == MeetRelay::State::Done && !relay_;
  if (!allocating) return;
  const RelayLogin& login = meetRelay_->login();
  TurnRelay::Config config;
  config.server.host = meet::addressText({login.relay.ip, 0});
  config.server.host.resize(config.server.host.rfind(':'));
  config.server.port = login.relay.port;
  config.server.user = login.user;
  config.server.password = meet::base64(login.digest);
  if (hosting_)
    config.gamePort = link_.localPort();
  else
    config.peer = turn::Addr4{meetRelay_->peerRelayed().ip, meetRelay_->peerRelayed().port};
  if (!allocate(config) || !relay_) return;
  if (hosting_) {
    // Wait for the joiner's connect, which arrives through the relay.
    meetRelay_->allocated({relay_->relayed().ip, relay_->relayed().port}, nowMicros / 1000);
    return;
  }
  peerAddress_ = meetRelay_->peerRelayed();
  path_ = "relayed";
  if (!link_.connectTo(kLoopback, relay_->localPort())) {
    fail(Failure::Relay, "cannot start connecting through the relay");
    return;
  }
  step_ = Step::Connecting;
}

}  // namespace zelkar::net
