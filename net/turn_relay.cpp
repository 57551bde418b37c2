#include "net/turn_relay.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zelkar::net {

namespace {

// The one channel this side binds: one peer per match.
constexpr uint16_t kChannel = turn::kFirstChannel;
// Larger than any datagram ENet sends for the session, with the relay's
// framing around it.
constexpr std::size_t kDatagramBytes = 2048;
// The thread looks at its timers at least this often.
constexpr int64_t kLongestSleepMs = 1000;

int openLoopbackSocket(uint16_t& port) {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof at;
  if (bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&at), &len) != 0) {
    close(fd);
    return -1;
  }
  port = ntohs(at.sin_port);
  return fd;
}

}  // namespace

std::unique_ptr<TurnRelay> TurnRelay::start(const Config& config, std::string& error) {
  auto client = std::make_unique<turn::Client>(config.server, error);
  if (client->fd() < 0) return nullptr;
  if (!client->allocate(config.budgetMs, error)) return nullptr;
  if (config.peer) {
    client->bindChannel(kChannel, *config.peer);
  } else {
    client->permit(client->relayed().ip);
    for (uint32_t ip : config.allowedPeers) client->permit(ip);
  }
  if (!client->settle(config.budgetMs, error)) return nullptr;
  uint16_t localPort = 0;
  const int localFd = openLoopbackSocket(localPort);
  const int stopFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (localFd < 0 || stopFd < 0) {
    if (localFd >= 0) close(localFd);
    if (stopFd >= 0) close(stopFd);
    error = "cannot open the local socket for the relay";
    return nullptr;
  }
  std::unique_ptr<TurnRelay> relay(new TurnRelay(config, std::move(client), localFd, stopFd));
  relay->localPort_ = localPort;
  relay->thread_ = std::thread([r = relay.get()] { r->run(); });
  return relay;
}

TurnRelay::TurnRelay(const Config& config, std::unique_ptr<turn::Client> client, int localFd,
                     int stopFd)
    : config_(config),
      client_(std::move(client)),
      localFd_(localFd),
      stopFd_(stopFd),
      relayed_(client_->relayed()),
      mapped_(client_->mapped()),
      gamePort_(config.gamePort),
      peer_(config.peer) {}

TurnRelay::~TurnRelay() {
  const uint64_t one = 1;
  (void)!write(stopFd_, &one, sizeof one);
  if (thread_.joinable()) thread_.join();
  client_.reset();  // frees the allocation on the server
  close(localFd_);
  close(stopFd_);
}

std::string TurnRelay::failure() const {
  std::lock_guard lock(failureMutex_);
  return failure_;
}

void TurnRelay::toGame(std::span<const uint8_t> payload) {
  if (gamePort_ == 0) return;  // ENet has not spoken yet: nowhere to deliver
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  to.sin_port = htons(gamePort_);
  (void)sendto(localFd_, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&to),
               sizeof to);
}

void TurnRelay::fromRelay(std::span<const uint8_t> datagram) {
  bytesReceived_ += datagram.size();
  if (const auto frame = turn::parseChannelData(datagram)) {
    if (frame->channel == kChannel && client_->channelBound()) toGame(frame->payload);
    return;
  }
  const auto m = turn::parse(datagram);
  if (!m) return;
  if (m->method != turn::kData || m->cls != turn::kIndication) {
    client_->handle(*m);
    return;
  }
  const auto from = m->xorAddress(turn::kXorPeerAddress);
  const auto data = m->find(turn::kDataAttr);
  if (!from || !data) return;
  if (!peer_) {
    // The server only passes on what the permissions allow, so the first
    // sender is the joiner; everything goes to it from now on.
    peer_ = *from;
    client_->bindChannel(kChannel, *from);
  }
  if (*from == *peer_) toGame(*data);
}

void TurnRelay::fromGame(std::span<const uint8_t> datagram, uint16_t sourcePort) {
  if (config_.peer) {
    gamePort_ = sourcePort;  // joining: ENet's socket, whichever port it got
  } else if (sourcePort != gamePort_) {
    return;  // hosting: only the game's own socket speaks through the relay
  }
  if (!peer_) return;
  const std::size_t before = datagram.size();
  if (client_->channelBound()) {
    client_->sendChannel(kChannel, datagram);
    bytesSent_ += 4 + ((before + 3) & ~std::size_t(3));
  } else {
    client_->sendIndication(*peer_, datagram);
    bytesSent_ += turn::kHeaderBytes + 12 + 4 + ((before + 3) & ~std::size_t(3));
  }
}

void TurnRelay::run() {
  std::vector<uint8_t> buf(kDatagramBytes);
  while (true) {
    const int64_t now = turn::monotonicMs();
    pollfd fds[3] = {{client_->fd(), POLLIN, 0}, {localFd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    poll(fds, 3, int(std::min(client_->nextDueMs(now), kLongestSleepMs)));
    if (fds[2].revents != 0) return;
    while (true) {
      const ssize_t n = recv(client_->fd(), buf.data(), buf.size(), 0);
      if (n <= 0) break;
      fromRelay(std::span(buf.data(), std::size_t(n)));
    }
    while (true) {
      sockaddr_in from{};
      socklen_t len = sizeof from;
      const ssize_t n =
          recvfrom(localFd_, buf.data(), buf.size(), 0, reinterpret_cast<sockaddr*>(&from), &len);
      if (n <= 0) break;
      // Only this machine may use the allocation.
      if (ntohl(from.sin_addr.s_addr) != INADDR_LOOPBACK) continue;
      fromGame(std::span(buf.data(), std::size_t(n)), ntohs(from.sin_port));
    }
    if (!client_->tick(turn::monotonicMs())) {
      std::lock_guard lock(failureMutex_);
      failure_ = client_->failure();
      return;
    }
  }
}

}  // namespace zelkar::net
