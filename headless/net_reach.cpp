#include "headless/net_reach.h"

#include <arpa/inet.h>
#include <netdb.h>

namespace zelkar::sim {

namespace {

std::optional<net::turn::Addr4> resolve(const net::Endpoint& e) {
  addrinfo hints{};
  hints.ai_family = AF_INET;  // as ENet
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(e.host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
    return std::nullopt;
  const auto* in = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  const net::turn::Addr4 a{ntohl(in->sin_addr.s_addr), e.port};
  freeaddrinfo(found);
  return a;
}

const char* path(bool relayed) { return relayed ? "relayed" : "direct"; }

}  // namespace

bool NetReach::beforeConnect(const NetOptions& opts, net::Endpoint& connectTo, std::ostream& err) {
  joining_ = true;
  if (!opts.relay) return true;
  const auto peer = resolve(connectTo);
  if (!peer) {
    err << "zelkar-sim: unknown host \"" << connectTo.host << "\"\n";
    return false;
  }
  net::TurnRelay::Config cfg;
  cfg.server = *opts.relay;
  cfg.peer = *peer;
  std::string error;
  relay_ = net::TurnRelay::start(cfg, error);
  if (!relay_) {
    err << "zelkar-sim: relay " << opts.relay->host << ": " << error << "\n";
    return false;
  }
  err << "zelkar-sim: joining through the relay at " << net::turn::toString(relay_->relayed())
      << "\n";
  connectTo = {"127.0.0.1", relay_->localPort()};
  return true;
}

bool NetReach::afterListen(const NetOptions& opts, uint16_t port, std::ostream& err) {
  const bool loopback =
      opts.online.endpoint.host.starts_with("127.") || opts.online.endpoint.host == "localhost";
  if (opts.portmap && !loopback) {
    net::PortmapConfig cfg;
    cfg.request.port = port;
    cfg.request.leaseS = net::kDefaultLeaseS;
    portmap_ = std::make_unique<net::Portmapper>(cfg);
  }
  if (!opts.relay) return true;
  net::TurnRelay::Config cfg;
  cfg.server = *opts.relay;
  cfg.gamePort = port;
  for (const std::string& p : opts.relayPeers)
    cfg.allowedPeers.push_back(net::turn::parseAddr4(p)->ip);
  std::string error;
  relay_ = net::TurnRelay::start(cfg, error);
  if (!relay_) {
    err << "zelkar-sim: relay " << opts.relay->host << ": " << error << "\n";
    return false;
  }
  err << "zelkar-sim: relayed address " << net::turn::toString(relay_->relayed()) << "\n";
  return true;
}

void NetReach::poll(const net::EnetLink& link, std::ostream& err) {
  if (portmap_ && !mappingReported_) {
    const net::PortmapStatus st = portmap_->status();
    if (st.state != net::PortmapState::Trying) {
      mappingReported_ = true;
      if (st.state == net::PortmapState::Mapped)
        err << "zelkar-sim: port mapped by " << st.method << ": external address "
            << (st.externalIp.empty() ? "unknown" : st.externalIp) << ":" << st.externalPort
            << "\n";
      else
        err << "zelkar-sim: no port mapping (" << st.failure << ")\n";
    }
  }
  if (!connectedReported_ && link.state() == net::LinkState::Connected) {
    connectedReported_ = true;
    connectedAt_ = std::chrono::steady_clock::now();
    const auto waited = std::chrono::steady_clock::now() - started_;
    err << "zelkar-sim: connected after "
        << std::chrono::duration_cast<std::chrono::milliseconds>(waited).count() << " ms";
    if (joining_) err << ", " << path(relay_ != nullptr);
    err << "\n";
  }
  if (relay_ && !relayFailureReported_) {
    if (const std::string f = relay_->failure(); !f.empty()) {
      relayFailureReported_ = true;
      err << "zelkar-sim: the relay failed: " << f << "\n";
    }
  }
}

void NetReach::report(const net::EnetLink& link, std::ostream& err) const {
  err << "zelkar-sim: round trip " << link.roundTripMs() << " ms";
  if (connectedReported_) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - connectedAt_).count();
    if (seconds > 0)
      err << ", " << uint64_t(double(link.bytesSent()) / seconds) << " bytes/s sent, "
          << uint64_t(double(link.bytesReceived()) / seconds) << " received over "
          << uint64_t(seconds) << " s";
  }
  if (relay_)
    err << " through the relay (" << relay_->bytesSent() << " bytes sent to it, "
        << relay_->bytesReceived() << " received)";
  err << "\n";
}

}  // namespace zelkar::sim
