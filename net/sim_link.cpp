#include "net/sim_link.h"

#include <algorithm>

namespace zelkar::net {

class SimNetwork::End final : public Link {
 public:
  End(SimNetwork& net, int index) : net_(net), index_(index) {}
  void send(Channel channel, std::span<const uint8_t> packet) override {
    if (state() != LinkState::Connected) return;
    net_.send(index_, channel, std::vector<uint8_t>(packet.begin(), packet.end()), now_);
  }
  bool receive(std::vector<uint8_t>& out) override {
    if (inbox_.empty()) return false;
    out = std::move(inbox_.front());
    inbox_.pop_front();
    return true;
  }
  LinkState state() const override {
    if (index_ == 0 && net_.awaiting_) return LinkState::Connecting;
    if (net_.closedAt_[std::size_t(index_)] >= 0 && now_ >= net_.closedAt_[std::size_t(index_)])
      return LinkState::Closed;
    return now_ >= net_.cfg_.connectMicros ? LinkState::Connected : LinkState::Connecting;
  }
  void service(int64_t nowMicros) override {
    now_ = std::max(now_, nowMicros);
    net_.deliver(index_, now_, inbox_);
  }
  void turnAway() override {
    inbox_.clear();
    if (index_ != 0) return net_.close(index_, now_);
    // The caller sees its link close one latency later, like a peer that
    // left; this end waits for the next caller.
    net_.closedAt_[1] = std::max(now_ + net_.cfg_.latencyMicros, net_.lastReliableAt_[1]);
    net_.awaiting_ = true;
  }
  std::string peerAddress() const override { return "simulated"; }
  void forget() { inbox_.clear(); }

 private:
  SimNetwork& net_;
  int index_;
  int64_t now_ = 0;
  std::deque<std::vector<uint8_t>> inbox_;
};

SimNetwork::SimNetwork(const SimLinkConfig& config) : cfg_(config), rng_(config.seed) {
  ends_[0] = std::make_unique<End>(*this, 0);
  ends_[1] = std::make_unique<End>(*this, 1);
}

SimNetwork::~SimNetwork() = default;

Link& SimNetwork::end(int i) { return *ends_[std::size_t(i & 1)]; }

void SimNetwork::close(int i, int64_t nowMicros) {
  closedAt_[std::size_t(i & 1)] = nowMicros;
  closedAt_[std::size_t(1 - (i & 1))] = nowMicros + cfg_.latencyMicros;
}

void SimNetwork::rejoin() {
  closedAt_ = {-1, -1};
  awaiting_ = false;
  for (auto& q : toward_) q.clear();
  lastReliableAt_ = {};
  ends_[0]->forget();
  ends_[1]->forget();
}

// A uniform draw in [0, 1) from the top 53 bits: the same on every
// standard library, unlike the library's own distributions.
double SimNetwork::chance() { return double(rng_() >> 11) * 0x1.0p-53; }

int64_t SimNetwork::delay() {
  int64_t d = cfg_.latencyMicros;
  if (cfg_.jitterMicros > 0) d += int64_t((chance() * 2 - 1) * double(cfg_.jitterMicros));
  if (chance() < cfg_.reorder) d += int64_t(chance() * double(cfg_.reorderMicros));
  return std::max<int64_t>(d, 0);
}

void SimNetwork::send(int from, Channel ch, std::vector<uint8_t> bytes, int64_t now) {
  const std::size_t to = std::size_t(1 - from);
  ++counters_.sent;
  if (cut_) return void(++counters_.lost);
  if (ch == Channel::Reliable) {
    int64_t at = now + delay();
    // Each loss costs a resend a round trip later.
    while (chance() < cfg_.loss) at += 2 * cfg_.latencyMicros + 1000;
    at = std::max(at, lastReliableAt_[to]);
    lastReliableAt_[to] = at;
    toward_[to].push_back({at, order_++, std::move(bytes)});
    return;
  }
  if (chance() < cfg_.loss) return void(++counters_.lost);
  if (chance() < cfg_.duplicate) {
    ++counters_.duplicated;
    toward_[to].push_back({now + delay(), order_++, bytes});
  }
  toward_[to].push_back({now + delay(), order_++, std::move(bytes)});
}

void SimNetwork::deliver(int to, int64_t now, std::deque<std::vector<uint8_t>>& inbox) {
  std::vector<InFlight>& q = toward_[std::size_t(to)];
  std::vector<InFlight> due;
  auto notDue =
      std::stable_partition(q.begin(), q.end(), [now](const InFlight& p) { return p.at > now; });
  std::move(notDue, q.end(), std::back_inserter(due));
  q.erase(notDue, q.end());
  std::sort(due.begin(), due.end(), [](const InFlight& a, const InFlight& b) {
    return a.at != b.at ? a.at < b.at : a.order < b.order;
  });
  for (InFlight& p : due) {
    if (cut_) continue;
    ++counters_.delivered;
    inbox.push_back(std::move(p.bytes));
  }
}

}  // namespace zelkar::net
