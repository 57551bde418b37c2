#include "net/enet_link.h"

#include <enet/enet.h>

namespace zelkar::net {

namespace {

constexpr std::size_t kChannels = 2;  // 0 reliable, 1 unreliable
constexpr uint8_t kReliableChannel = 0;
constexpr uint8_t kUnreliableChannel = 1;
// ENet's own give-up time for a silent peer, in ms: a little longer than
// the session's 3 s, so that the session reports the loss in its own words
// first, and short enough that a dead link does not linger for 30 s.
// The session sends nothing reliably (it repeats what was lost itself), so
// these clocks only judge ENet's own pings, which it sends only when the
// peer has been quiet for half a second: a peer whose inputs keep arriving
// is never dropped by a lost reliable packet.
constexpr enet_uint32 kPeerTimeoutMinMs = 4000;
constexpr enet_uint32 kPeerTimeoutMaxMs = 6000;
constexpr enet_uint32 kConnectedTimeoutMs = 60000;
// Room on the listening side for the seat plus callers still being turned
// away (a refusal waiting for its acknowledgement), so that a friend who
// retries at once finds a free slot.
constexpr std::size_t kListenSlots = 4;
// ENet would otherwise reassemble fragmented packets of up to 32 MiB from
// anyone who can reach the port before the session sees a byte: nothing
// larger than the session's own packets is taken, and a peer may hold at
// most this much in ENet's queues waiting to be read.
constexpr std::size_t kMaxWaitingBytes = 64 * 1024;

// ENet needs initialising once per process before any host exists; on
// Linux it holds nothing, so it is never undone.
bool initialised() {
  static const bool ok = enet_initialize() == 0;
  return ok;
}

// ENet's handshake is call, answer, acknowledgement, and only the caller's
// acknowledgement of the answer brings the listening side's peer up: until
// then ENet there drops whatever the caller sends. Neither side repeats the
// acknowledgement; only a repeated answer draws a new one. ENet repeats
// the call and the answer after the round trip it assumes before it has
// measured one (500 ms), doubling each time, so a lost acknowledgement
// cost 0.5, then 1 and 2 s more: on a link losing a fifth of its datagrams
// about one handshake in forty left the caller unanswered for over 3 s. Assuming
// 50 ms sends seven copies within the first 3.2 s instead of four; the
// extra copies are a few dozen bytes each, and the measured round trip
// replaces the assumption with the first acknowledgements.
constexpr enet_uint32 kHandshakeRoundTripMs = 50;

void quickenHandshake(ENetPeer* peer) {
  peer->roundTripTime = kHandshakeRoundTripMs;
  peer->roundTripTimeVariance = 0;
}

void tuneTimeouts(ENetPeer* peer) {
  enet_peer_timeout(peer, ENET_PEER_TIMEOUT_LIMIT, kPeerTimeoutMinMs, kPeerTimeoutMaxMs);
}

void openThrottle(ENetPeer* peer) {
  // Once connected, only the session judges silence (3 s of nothing it
  // could use). ENet acknowledges nothing unreliable, so it pings a busy
  // peer every half second, reliably; on a link losing a third of its
  // datagrams a chain of lost pings made ENet drop a peer whose inputs
  // still flowed. Its own give-up time becomes a last resort.
  enet_peer_timeout(peer, ENET_PEER_TIMEOUT_LIMIT, kConnectedTimeoutMs, kConnectedTimeoutMs);
  // ENet's throttle drops unreliable packets at the sender when round
  // trips vary, taking loss for congestion; on a link that loses at random
  // it starved the session of the very inputs and hashes it repeats to
  // get through. The session sends a few kilobytes a second: the throttle
  // stays fully open. Set on this side only: enet_peer_throttle_configure
  // would send a reliable command, and one that went unacknowledged for
  // 6 s on a lossy link made ENet drop a peer whose packets still flowed.
  peer->packetThrottle = ENET_PEER_PACKET_THROTTLE_SCALE;
  peer->packetThrottleAcceleration = ENET_PEER_PACKET_THROTTLE_SCALE;
  peer->packetThrottleDeceleration = 0;
}

void limitSizes(ENetHost* host) {
  host->maximumPacketSize = Link::kMaxPacketBytes;
  host->maximumWaitingData = kMaxWaitingBytes;
}

}  // namespace

EnetLink::EnetLink(ENetHost* host, ENetPeer* peer, bool listening)
    : host_(host), peer_(peer), listening_(listening) {}

std::unique_ptr<EnetLink> EnetLink::listen(const Endpoint& at, std::string& error) {
  if (!initialised()) {
    error = "the network library could not be initialised";
    return nullptr;
  }
  ENetAddress address{};
  address.host = ENET_HOST_ANY;
  address.port = at.port;
  if (!at.host.empty() && enet_address_set_host(&address, at.host.c_str()) != 0) {
    error = "unknown address \"" + at.host + "\"";
    return nullptr;
  }
  // One seat for the other player; a caller beside it is turned away.
  ENetHost* host = enet_host_create(&address, kListenSlots, kChannels, 0, 0);
  if (host == nullptr) {
    error = "cannot listen on UDP port " + std::to_string(at.port) + " (in use?)";
    return nullptr;
  }
  limitSizes(host);
  return std::unique_ptr<EnetLink>(new EnetLink(host, nullptr, true));
}

std::unique_ptr<EnetLink> EnetLink::connect(const Endpoint& to, std::string& error) {
  if (!initialised()) {
    error = "the network library could not be initialised";
    return nullptr;
  }
  ENetAddress address{};
  if (enet_address_set_host(&address, to.host.c_str()) != 0) {
    error = "unknown host \"" + to.host + "\"";
    return nullptr;
  }
  address.port = to.port;
  ENetHost* host = enet_host_create(nullptr, 1, kChannels, 0, 0);
  if (host == nullptr) {
    error = "cannot open a UDP socket";
    return nullptr;
  }
  limitSizes(host);
  ENetPeer* peer = enet_host_connect(host, &address, kChannels, 0);
  if (peer == nullptr) {
    enet_host_destroy(host);
    error = "cannot start connecting to " + to.host;
    return nullptr;
  }
  quickenHandshake(peer);  // before the call goes out at the first service
  tuneTimeouts(peer);
  return std::unique_ptr<EnetLink>(new EnetLink(host, peer, false));
}

bool EnetLink::connectTo(uint32_t ip, uint16_t port) {
  if (peer_ != nullptr || state_ != LinkState::Connecting) return false;
  ENetAddress address{};
  address.host = ENET_HOST_TO_NET_32(ip);
  address.port = port;
  peer_ = enet_host_connect(host_, &address, kChannels, 0);
  if (peer_ == nullptr) return false;
  quickenHandshake(peer_);
  tuneTimeouts(peer_);
  return true;
}

EnetLink::~EnetLink() {
  // A peer that is told goes away at once instead of timing out.
  if (peer_ != nullptr && state_ == LinkState::Connected) {
    enet_peer_disconnect_now(peer_, 0);
    enet_host_flush(host_);
  }
  enet_host_destroy(host_);
}

void EnetLink::send(Channel channel, std::span<const uint8_t> bytes) {
  // Before the handshake ENet has no peer to send to; the session only
  // speaks once the link is up.
  if (state_ != LinkState::Connected || closing_) return;
  const bool reliable = channel == Channel::Reliable;
  // Unsequenced: by default ENet drops an unreliable packet that arrives
  // after a later one, and with a few milliseconds of jitter that threw
  // away most of a burst of hashes; the session orders what it reads
  // itself (frame and tick numbers), so every packet that arrives counts.
  ENetPacket* packet =
      enet_packet_create(bytes.data(), bytes.size(),
                         reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
  if (packet == nullptr) return;
  if (enet_peer_send(peer_, reliable ? kReliableChannel : kUnreliableChannel, packet) != 0) {
    enet_packet_destroy(packet);
    return;
  }
  // Sent now rather than at the next service: a tick's input should not
  // wait a frame in a queue.
  enet_host_flush(host_);
}

bool EnetLink::receive(std::vector<uint8_t>& out) {
  if (inbox_.empty()) return false;
  out = std::move(inbox_.front());
  inbox_.pop_front();
  return true;
}

void EnetLink::service(int64_t /*nowMicros*/) {
  // ENet keeps its own clock for resends and timeouts.
  if (state_ == LinkState::Closed) return;
  if (listening_) {
    // A free slot takes the next caller, and its answer goes out in the
    // service that reads the call: set the assumption beforehand, again
    // after every reset, which restores ENet's default.
    for (ENetPeer* p = host_->peers; p < host_->peers + host_->peerCount; ++p)
      if (p->state == ENET_PEER_STATE_DISCONNECTED) quickenHandshake(p);
  }
  ENetEvent event;
  while (enet_host_service(host_, &event, 0) > 0) {
    switch (event.type) {
      case ENET_EVENT_TYPE_CONNECT:
        if (peer_ == nullptr && listening_ && state_ == LinkState::Connecting) {
          peer_ = event.peer;  // the listening side's one peer
          tuneTimeouts(peer_);
        }
        if (event.peer != peer_ || state_ != LinkState::Connecting) {
          enet_peer_disconnect_now(event.peer, 0);
          break;
        }
        state_ = LinkState::Connected;
        openThrottle(peer_);
        break;
      case ENET_EVENT_TYPE_RECEIVE:
        if (event.peer == peer_ && state_ == LinkState::Connected &&
            event.packet->dataLength <= kMaxPacketBytes) {
          const uint8_t* data = event.packet->data;
          inbox_.emplace_back(data, data + event.packet->dataLength);
        } else {
          ++dropped_;
        }
        enet_packet_destroy(event.packet);
        break;
      case ENET_EVENT_TYPE_DISCONNECT:
        if (event.peer == peer_) {
          state_ = LinkState::Closed;
          peer_ = nullptr;
          return;
        }
        break;
      case ENET_EVENT_TYPE_NONE:
        break;
    }
  }
}

void EnetLink::turnAway() {
  if (!listening_) return close();
  if (peer_ != nullptr) {
    // Later, not now: a refusal queued for this caller still goes out.
    enet_peer_disconnect_later(peer_, 0);
    enet_host_flush(host_);
  }
  peer_ = nullptr;
  inbox_.clear();
  if (!closing_) state_ = LinkState::Connecting;
}

std::string EnetLink::peerAddress() const {
  if (peer_ == nullptr) return {};
  char text[64] = {};
  if (enet_address_get_host_ip(&peer_->address, text, sizeof text) != 0) return {};
  return text;
}

void EnetLink::close() {
  if (state_ == LinkState::Closed || closing_) return;
  closing_ = true;
  if (peer_ == nullptr || state_ == LinkState::Connecting) {
    if (peer_ != nullptr) enet_peer_reset(peer_);
    peer_ = nullptr;
    state_ = LinkState::Closed;
    return;
  }
  enet_peer_disconnect_later(peer_, 0);
  enet_host_flush(host_);
}

uint16_t EnetLink::localPort() const { return host_->address.port; }

uint64_t EnetLink::bytesSent() const { return host_->totalSentData; }

uint64_t EnetLink::bytesReceived() const { return host_->totalReceivedData; }

uint32_t EnetLink::roundTripMs() const { return peer_ != nullptr ? peer_->roundTripTime : 0; }

}  // namespace zelkar::net
