// How an online run reaches across home routers: the host's port mapping
// (asked for in the background; reported when the router answers) and the
// relay, when either side plays through one. Apart from the run's loop so
// that the loop only asks "where do I connect" and "anything to report".
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>

#include "headless/net_options.h"
#include "net/enet_link.h"
#include "net/portmap.h"
#include "net/turn_relay.h"

namespace zelkar::sim {

class NetReach {
 public:
  // Joining through a relay: makes the allocation and changes `connectTo`
  // to the loopback socket ENet uses instead. False (after a line on
  // `err`) when the relay cannot be had.
  bool beforeConnect(const NetOptions& opts, net::Endpoint& connectTo, std::ostream& err);
  // Hosting on `port`: starts the mapping (unless turned off or the host
  // listens on loopback, which no router forwards to) and the relay.
  bool afterListen(const NetOptions& opts, uint16_t port, std::ostream& err);
  // The relay a meeting by code fell back to: kept for the session, its
  // failure and bytes reported like an explicit --relay's.
  void keepRelay(std::unique_ptr<net::TurnRelay> relay) {
    if (relay) relay_ = std::move(relay);
  }
  // Called each turn of the loop: reports the mapping once known, the
  // moment the link comes up (and by which path), a relay that failed.
  void poll(const net::EnetLink& link, std::ostream& err);
  // The closing line: the round trip, the link's bytes a second each way
  // while connected (ENet's headers included) and the relay's bytes.
  void report(const net::EnetLink& link, std::ostream& err) const;

 private:
  std::unique_ptr<net::Portmapper> portmap_;
  std::unique_ptr<net::TurnRelay> relay_;
  bool mappingReported_ = false;
  bool connectedReported_ = false;
  bool relayFailureReported_ = false;
  bool joining_ = false;
  // The time to connect counts the relay's login and the mapping too.
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point connectedAt_{};
};

}  // namespace zelkar::sim
