// Two sessions joined by a simulated link in one process, on a virtual
// clock: the host on end 0, the joiner on end 1.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "net/session.h"
#include "net/sim_link.h"

namespace zelkar::net::testing {

struct SessionPair {
  SimNetwork network;
  Session host;
  Session joiner;
  int64_t now = 0;  // µs
  std::vector<ConfirmedTick> hostTicks, joinerTicks;

  static SessionConfig hostConfig() {
    SessionConfig c;
    c.role = Role::Host;
    c.side = Side::Left;
    c.code = "K7Q2";
    c.settings = ConfigValues{1, 10, 0};
    c.loadSeed = 12345;
    return c;
  }
  static SessionConfig joinerConfig() {
    SessionConfig c;
    c.role = Role::Joiner;
    c.code = "K7Q2";
    c.settings = ConfigValues{0, 25, 1};  // its own settings never reach the match
    return c;
  }

  explicit SessionPair(const SimLinkConfig& link, const SessionConfig& h = hostConfig(),
                       const SessionConfig& j = joinerConfig())
      : network(link), host(network.end(0), h), joiner(network.end(1), j) {}

  // Advances the clock by stepMicros and polls both, the host first.
  void advance(int64_t stepMicros = 1000) {
    now += stepMicros;
    host.poll(now);
    joiner.poll(now);
    for (const ConfirmedTick& t : host.takeConfirmedTicks()) hostTicks.push_back(t);
    for (const ConfirmedTick& t : joiner.takeConfirmedTicks()) joinerTicks.push_back(t);
  }
  // Polls until both run (or either has ended), at most limitMicros.
  bool connect(int64_t limitMicros = 1000000) {
    const int64_t until = now + limitMicros;
    while (now < until) {
      advance();
      if (host.phase() == Phase::Running && joiner.phase() == Phase::Running) return true;
      if (host.phase() == Phase::Ended || joiner.phase() == Phase::Ended) return false;
    }
    return false;
  }
};

}  // namespace zelkar::net::testing
