// The game's datagrams through a relay server, for when the two machines
// cannot reach each other directly (a symmetric or carrier-grade NAT).
// ENet is left as it is: it talks to a UDP socket on 127.0.0.1 owned by a
// thread here, which wraps each datagram for the relay and unwraps what
// comes back. The thread waits in poll() on both sockets, so a datagram is
// passed on as soon as it arrives, and it keeps the allocation, the
// permissions and the channel alive for as long as the match lasts.
//
// Joining through the relay: the peer is known (the host's address); ENet
// connects to 127.0.0.1:localPort() instead. Hosting through it: ENet
// listens on gamePort as ever, the joiner sends to relayed(), and the first
// peer from an allowed address becomes the one the datagrams go to.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/turn_client.h"

namespace zelkar::net {

class TurnRelay {
 public:
  struct Config {
    TurnUrl server;
    std::optional<turn::Addr4> peer;  // joining: the host's address
    uint16_t gamePort = 0;            // hosting: the port ENet listens on
    // Hosting: who may send through the allocation (by address; the
    // relay's own address is always allowed, so a joiner who relays too
    // gets in).
    std::vector<uint32_t> allowedPeers;
    int budgetMs = 5000;  // for the login and the first permission
  };

  // Null with `error` set when the relay cannot be reached or refuses.
  static std::unique_ptr<TurnRelay> start(const Config& config, std::string& error);
  ~TurnRelay();
  TurnRelay(const TurnRelay&) = delete;
  TurnRelay& operator=(const TurnRelay&) = delete;

  turn::Addr4 relayed() const { return relayed_; }  // where the other side sends
  turn::Addr4 mapped() const { return mapped_; }    // this side's public address
  uint16_t localPort() const { return localPort_; }
  // Empty while the relay works; what went wrong once it stopped.
  std::string failure() const;
  // Bytes on the wire to and from the relay server, the relay's own
  // framing included.
  uint64_t bytesSent() const { return bytesSent_; }
  uint64_t bytesReceived() const { return bytesReceived_; }

 private:
  TurnRelay(const Config& config, std::unique_ptr<turn::Client> client, int localFd, int stopFd);
  void run();
  void fromRelay(std::span<const uint8_t> datagram);
  void fromGame(std::span<const uint8_t> datagram, uint16_t sourcePort);
  void toGame(std::span<const uint8_t> payload);

  Config config_;
  std::unique_ptr<turn::Client> client_;
  int localFd_ = -1, stopFd_ = -1;
  turn::Addr4 relayed_, mapped_;
  uint16_t localPort_ = 0;
  uint16_t gamePort_ = 0;  // where ENet is; learned from its first datagram when joining
  std::optional<turn::Addr4> peer_;
  std::atomic<uint64_t> bytesSent_{0}, bytesReceived_{0};
  mutable std::mutex failureMutex_;
  std::string failure_;
  std::thread thread_;
};

}  // namespace zelkar::net
