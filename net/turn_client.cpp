#include "net/turn_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>

namespace zelkar::net::turn {

namespace {

// UDP transport, as the relay's REQUESTED-TRANSPORT wants it (protocol 17
// in the top byte).
constexpr uint32_t kUdpTransport = 17u << 24;
// Retransmission: the first resend after half a second, doubling to at
// most 4 s, and the request is given up after seven sends (about 20 s).
constexpr int64_t kFirstResendMs = 500;
constexpr int64_t kLongestResendMs = 4000;
constexpr int kMaxSends = 7;
// A permission lives 5 minutes and a channel 10 on the server; both are
// renewed a minute before that, the allocation at half its lifetime.
constexpr int64_t kPermissionRenewMs = 240'000;
constexpr int64_t kChannelRenewMs = 540'000;
// A new nonce may be asked for a few times in a row, never endlessly.
constexpr int kMaxAuthRetries = 3;
constexpr int64_t kNever = INT64_MAX / 2;

int64_t resendWaitMs(int sends) {
  return std::min(kFirstResendMs << std::min(sends - 1, 4), kLongestResendMs);
}

TxId randomTx() {
  static thread_local std::mt19937 gen{std::random_device{}()};
  TxId tx;
  for (uint8_t& b : tx) b = uint8_t(gen());
  return tx;
}

}  // namespace

int64_t monotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Client::Client(const TurnUrl& url, std::string& error) : user_(url.user), password_(url.password) {
  addrinfo hints{};
  hints.ai_family = AF_INET;  // as ENet
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(url.host.c_str(), std::to_string(url.port).c_str(), &hints, &found) != 0 ||
      found == nullptr) {
    error = "unknown relay host \"" + url.host + "\"";
    return;
  }
  const auto* in = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  server_ = {ntohl(in->sin_addr.s_addr), ntohs(in->sin_port)};
  fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0 || ::connect(fd_, found->ai_addr, found->ai_addrlen) != 0) {
    error = "cannot open a UDP socket to the relay";
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }
  freeaddrinfo(found);
  refreshAllocationAtMs_ = refreshPermissionsAtMs_ = refreshChannelAtMs_ = kNever;
}

Client::~Client() {
  if (fd_ < 0) return;
  // A zero lifetime frees the relay's port at once instead of in 10 min.
  if (allocated_) {
    Pending p;
    p.method = kRefresh;
    p.tx = randomTx();
    lifetimeS_ = 0;
    sendRaw(encode(p));
  }
  close(fd_);
}

std::vector<uint8_t> Client::encode(const Pending& p) const {
  Builder b(p.method, kRequest, p.tx);
  if (p.method == kAllocate) b.u32(kRequestedTransport, kUdpTransport);
  if (p.method == kRefresh) b.u32(kLifetime, lifetimeS_);
  if (p.method == kChannelBind) b.u32(kChannelNumber, uint32_t(p.channel) << 16);
  for (const Addr4& peer : p.peers) b.xorAddress(kXorPeerAddress, peer);
  if (realm_.empty()) return b.finish();
  b.text(kUsername, user_).text(kRealm, realm_).text(kNonce, nonce_);
  return b.finish(key_);
}

void Client::sendRaw(const std::vector<uint8_t>& bytes) {
  // A full socket buffer loses the datagram like the network would; the
  // retransmission (or the game's own) covers it.
  (void)::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

void Client::issue(Pending p, int64_t nowMs) {
  p.tx = randomTx();
  p.sentMs = nowMs;
  p.sends = 1;
  sendRaw(encode(p));
  pending_.push_back(std::move(p));
}

void Client::permit(uint32_t peerIp) {
  if (std::find(permitted_.begin(), permitted_.end(), peerIp) == permitted_.end())
    permitted_.push_back(peerIp);
  Pending p;
  p.method = kCreatePermission;
  for (uint32_t ip : permitted_) p.peers.push_back({ip, 0});
  issue(std::move(p), monotonicMs());
}

void Client::bindChannel(uint16_t channel, Addr4 peer) {
  channel_ = {channel, peer};
  Pending p;
  p.method = kChannelBind;
  p.channel = channel;
  p.peers = {peer};
  issue(std::move(p), monotonicMs());
}

bool Client::handle(const Message& m) {
  if (m.cls != kSuccess && m.cls != kError) return false;
  const auto it = std::find_if(pending_.begin(), pending_.end(),
                               [&](const Pending& p) { return !p.done && p.tx == m.tx; });
  if (it == pending_.end()) return true;  // a late duplicate
  // Once logged in, only answers signed with our key count: anyone can
  // send a datagram that looks like the server's.
  if (!key_.empty() && m.cls == kSuccess && !m.integrityMatches(key_)) return true;
  const int64_t now = monotonicMs();
  Pending p = *it;
  it->done = true;
  if (m.cls == kError) {
    const int code = m.errorCode().value_or(0);
    const auto nonce = m.text(kNonce);
    if ((code == 401 || code == 438) && nonce && p.authRetries < kMaxAuthRetries) {
      if (auto realm = m.text(kRealm)) realm_ = *realm;
      nonce_ = *nonce;
      const auto key = longTermKey(user_, realm_, password_);
      const bool keyKnown = !key_.empty();
      key_.assign(key.begin(), key.end());
      // A 401 to a request that already carried our login is a refusal.
      if (code == 401 && keyKnown && p.method == kAllocate) {
        failure_ = "the relay refused the login (wrong or expired credentials)";
        return true;
      }
      ++p.authRetries;
      issue(p, now);
      return true;
    }
    failure_ = "the relay refused a request (error " + std::to_string(code) + ")";
    return true;
  }
  switch (p.method) {
    case kAllocate: {
      const auto relayed = m.xorAddress(kXorRelayedAddress);
      if (!relayed) {
        failure_ = "the relay gave no relayed address";
        return true;
      }
      relayed_ = *relayed;
      mapped_ = m.xorAddress(kXorMappedAddress).value_or(Addr4{});
      lifetimeS_ = std::max<uint32_t>(m.u32(kLifetime).value_or(600), 60);
      allocated_ = true;
      refreshAllocationAtMs_ = now + int64_t(lifetimeS_) * 500;
      break;
    }
    case kRefresh:
      lifetimeS_ = std::max<uint32_t>(m.u32(kLifetime).value_or(lifetimeS_), 60);
      refreshAllocationAtMs_ = now + int64_t(lifetimeS_) * 500;
      break;
    case kCreatePermission:
      refreshPermissionsAtMs_ = now + kPermissionRenewMs;
      break;
    case kChannelBind:
      channelBound_ = true;
      refreshChannelAtMs_ = now + kChannelRenewMs;
      break;
  }
  return true;
}

bool Client::tick(int64_t nowMs) {
  nowMs_ = nowMs;
  for (Pending& p : pending_) {
    if (p.done) continue;
    if (nowMs - p.sentMs < resendWaitMs(p.sends)) continue;
    if (p.sends >= kMaxSends) {
      failure_ = "the relay stopped answering";
      p.done = true;
      continue;
    }
    ++p.sends;
    p.sentMs = nowMs;
    sendRaw(encode(p));
  }
  std::erase_if(pending_, [](const Pending& p) { return p.done; });
  if (nowMs >= refreshAllocationAtMs_) {
    refreshAllocationAtMs_ = kNever;
    Pending p;
    p.method = kRefresh;
    issue(std::move(p), nowMs);
  }
  if (nowMs >= refreshPermissionsAtMs_ && !permitted_.empty()) {
    refreshPermissionsAtMs_ = kNever;
    permit(permitted_.front());
  }
  if (nowMs >= refreshChannelAtMs_ && channel_) {
    refreshChannelAtMs_ = kNever;
    bindChannel(channel_->first, channel_->second);
  }
  return failure_.empty();
}

int64_t Client::nextDueMs(int64_t nowMs) const {
  int64_t due = std::min({refreshAllocationAtMs_, refreshPermissionsAtMs_, refreshChannelAtMs_});
  for (const Pending& p : pending_) {
    due = std::min(due, p.sentMs + resendWaitMs(p.sends));
  }
  return std::max<int64_t>(0, due - nowMs);
}

void Client::sendIndication(Addr4 peer, std::span<const uint8_t> payload) {
  sendRaw(Builder(kSend, kIndication, randomTx())
              .xorAddress(kXorPeerAddress, peer)
              .bytes(kDataAttr, payload)
              .finish());
}

void Client::sendChannel(uint16_t channel, std::span<const uint8_t> payload) {
  sendRaw(channelData(channel, payload));
}

bool Client::pump(int budgetMs, const std::function<bool()>& finished, std::string& error) {
  const int64_t end = monotonicMs() + budgetMs;
  std::vector<uint8_t> buf(2048);
  while (failure_.empty() && !finished()) {
    const int64_t now = monotonicMs();
    if (now >= end) {
      error = "no answer from the relay within " + std::to_string(budgetMs / 1000) + " s";
      return false;
    }
    pollfd pfd{fd_, POLLIN, 0};
    poll(&pfd, 1, int(std::min(end - now, std::max<int64_t>(nextDueMs(now), 1))));
    while (true) {
      const ssize_t n = recv(fd_, buf.data(), buf.size(), 0);
      if (n <= 0) break;  // nothing more, or an ICMP error that the resends cover
      if (auto m = parse(std::span(buf.data(), std::size_t(n)))) handle(*m);
    }
    tick(monotonicMs());
  }
  if (!failure_.empty()) error = failure_;
  return failure_.empty();
}

bool Client::allocate(int budgetMs, std::string& error) {
  if (fd_ < 0) {
    error = "no socket to the relay";
    return false;
  }
  Pending p;
  p.method = kAllocate;
  issue(std::move(p), monotonicMs());
  return pump(
      budgetMs, [this] { return allocated_; }, error);
}

bool Client::settle(int budgetMs, std::string& error) {
  return pump(
      budgetMs, [this] { return pending_.empty(); }, error);
}

}  // namespace zelkar::net::turn
