// The simulated network: what it promises of each channel, from a seed.
#include "net/sim_link.h"

#include <gtest/gtest.h>

#include <numeric>

namespace zelkar::net {
namespace {

std::vector<uint8_t> numbered(int i) { return {uint8_t(i), uint8_t(i >> 8)}; }
int number(const std::vector<uint8_t>& p) { return p[0] | p[1] << 8; }

// Sends n packets one a millisecond from end 0 and collects what end 1 gets.
std::vector<int> carry(SimNetwork& net, Channel ch, int n) {
  std::vector<int> got;
  std::vector<uint8_t> bytes;
  for (int64_t now = 0; now < int64_t(n) * 1000 + 500000; now += 1000) {
    net.end(0).service(now);
    net.end(1).service(now);
    if (now / 1000 < n) net.end(0).send(ch, numbered(int(now / 1000)));
    while (net.end(1).receive(bytes)) got.push_back(number(bytes));
  }
  return got;
}

SimLinkConfig rough() {
  SimLinkConfig c;
  c.latencyMicros = 30000, c.jitterMicros = 10000, c.loss = 0.3, c.duplicate = 0.2;
  c.reorder = 0.3, c.seed = 5;
  return c;
}

TEST(SimLink, TheReliableChannelDeliversEverythingOnceInOrder) {
  SimNetwork net(rough());
  std::vector<int> all(500);
  std::iota(all.begin(), all.end(), 0);
  EXPECT_EQ(carry(net, Channel::Reliable, 500), all);
}

TEST(SimLink, TheUnreliableChannelLosesDuplicatesAndReordersAsItsSeedSays) {
  SimNetwork net(rough());
  const std::vector<int> got = carry(net, Channel::Unreliable, 2000);
  const auto& c = net.counters();
  // 30 % of 2000 lost and 20 % of the rest doubled, give or take.
  EXPECT_NEAR(double(c.lost), 600, 90);
  EXPECT_NEAR(double(c.duplicated), 280, 70);
  EXPECT_EQ(int64_t(got.size()), 2000 - c.lost + c.duplicated);
  int outOfOrder = 0;
  for (std::size_t i = 1; i < got.size(); ++i) outOfOrder += got[i] < got[i - 1] ? 1 : 0;
  EXPECT_GT(outOfOrder, 50);
  // The same seed gives the same run, another seed another.
  SimNetwork same(rough());
  EXPECT_EQ(carry(same, Channel::Unreliable, 2000), got);
  SimLinkConfig other = rough();
  other.seed = 6;
  SimNetwork another(other);
  EXPECT_NE(carry(another, Channel::Unreliable, 2000), got);
}

TEST(SimLink, NothingFlowsBeforeTheConnectionNorAfterACut) {
  SimLinkConfig cfg;
  cfg.connectMicros = 5000;
  SimNetwork net(cfg);
  net.end(0).service(1000);
  EXPECT_EQ(net.end(0).state(), LinkState::Connecting);
  net.end(0).send(Channel::Reliable, numbered(1));  // dropped: not connected
  net.end(0).service(5000);
  net.end(1).service(5000);
  EXPECT_EQ(net.end(0).state(), LinkState::Connected);
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(net.end(1).receive(bytes));
  net.cut();
  net.end(0).send(Channel::Reliable, numbered(2));
  net.end(1).service(9000);
  EXPECT_FALSE(net.end(1).receive(bytes));
  EXPECT_EQ(net.end(1).state(), LinkState::Connected);  // a cut is only silence
  net.close(0, 9000);
  net.end(1).service(9000);
  EXPECT_EQ(net.end(1).state(), LinkState::Closed);
}

}  // namespace
}  // namespace zelkar::net
