// Two ends of a simulated network in one process, for tests and
// benchmarks: latency, jitter, loss, duplication and reordering, all drawn
// from a seed and timed by the clock the callers pass to service(), so a
// run repeats exactly.
//
// The reliable channel never loses a packet: a loss costs a resend one
// round trip later, and packets arrive in the order sent, as a reliable
// transport delivers them.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <vector>

#include "net/link.h"

namespace zelkar::net {

struct SimLinkConfig {
  int64_t latencyMicros = 0;  // one way
  int64_t jitterMicros = 0;   // each packet's delay varies by up to this, either way
  double loss = 0;            // chance an unreliable packet is lost (a reliable one resent)
  double duplicate = 0;       // chance an unreliable packet arrives twice
  double reorder = 0;         // chance a packet is held back by up to reorderMicros more
  int64_t reorderMicros = 30000;
  int64_t connectMicros = 0;  // both ends are Connected from this time on
  uint64_t seed = 1;
};

class SimNetwork {
 public:
  explicit SimNetwork(const SimLinkConfig& config);
  ~SimNetwork();
  Link& end(int i);  // 0 or 1

  // From now on nothing gets through either way, but neither end notices
  // until its peer stays silent: a cable pulled out.
  void cut() { cut_ = true; }
  // End i leaves: the other end sees Closed one latency later.
  void close(int i, int64_t nowMicros);
  // A new caller reaches end 0 after it turned the last one away: both
  // ends are Connected again, with nothing in flight.
  void rejoin();

  struct Counters {
    int64_t sent = 0, lost = 0, duplicated = 0, delivered = 0;
  };
  const Counters& counters() const { return counters_; }

 private:
  class End;
  struct InFlight {
    int64_t at = 0;
    uint64_t order = 0;  // ties keep the sending order
    std::vector<uint8_t> bytes;
  };
  void send(int from, Channel ch, std::vector<uint8_t> bytes, int64_t now);
  void deliver(int to, int64_t now, std::deque<std::vector<uint8_t>>& inbox);
  double chance();
  int64_t delay();

  SimLinkConfig cfg_;
  std::mt19937_64 rng_;
  std::array<std::vector<InFlight>, 2> toward_;  // packets on their way to end i
  std::array<int64_t, 2> lastReliableAt_{};      // keeps reliable packets in order
  std::array<int64_t, 2> closedAt_{-1, -1};      // end i sees Closed from then on
  bool awaiting_ = false;                        // end 0 turned its caller away
  uint64_t order_ = 0;
  bool cut_ = false;
  Counters counters_;
  std::array<std::unique_ptr<End>, 2> ends_;
};

}  // namespace zelkar::net
