// Two ENet links in one process on 127.0.0.1: the handshake, both channels,
// the one-seat rule and a clean close. Every wait is bounded.
#include "net/enet_link.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace zelkar::net {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr auto kPatience = std::chrono::seconds(3);  // loopback answers in well under 1 ms

// Services every link until `done` holds or the patience runs out.
bool serviceUntil(std::initializer_list<EnetLink*> links, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    for (EnetLink* l : links) l->service(0);
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

struct Pair {
  std::unique_ptr<EnetLink> host, joiner;
};

Pair connectedPair() {
  std::string error;
  Pair p;
  p.host = EnetLink::listen({"127.0.0.1", 0}, error);
  EXPECT_NE(p.host, nullptr) << error;
  if (!p.host) return p;
  EXPECT_NE(p.host->localPort(), 0);
  p.joiner = EnetLink::connect({"127.0.0.1", p.host->localPort()}, error);
  EXPECT_NE(p.joiner, nullptr) << error;
  if (!p.joiner) return p;
  EXPECT_EQ(p.host->state(), LinkState::Connecting);
  EXPECT_EQ(p.joiner->state(), LinkState::Connecting);
  EXPECT_TRUE(serviceUntil({p.host.get(), p.joiner.get()}, [&] {
    return p.host->state() == LinkState::Connected && p.joiner->state() == LinkState::Connected;
  }));
  return p;
}

std::vector<Bytes> drain(EnetLink& l) {
  std::vector<Bytes> got;
  Bytes b;
  while (l.receive(b)) got.push_back(b);
  return got;
}

// Services the links until `at` has received something; returns all of it.
std::vector<Bytes> firstArrivals(std::initializer_list<EnetLink*> links, EnetLink& at) {
  std::vector<Bytes> got;
  EXPECT_TRUE(serviceUntil(links, [&] {
    for (Bytes& b : drain(at)) got.push_back(b);
    return !got.empty();
  }));
  return got;
}

TEST(EnetLink, MessagesArriveInOrderBothWaysAndNoneLargerThanAPacket) {
  Pair p = connectedPair();
  ASSERT_TRUE(p.joiner);
  const std::vector<Bytes> fromHost = {{1, 2, 3}, {4}, {}, {5, 6}};
  const std::vector<Bytes> fromJoiner = {{9}, {8, 7}};
  for (const Bytes& b : fromHost) p.host->send(Channel::Reliable, b);
  for (const Bytes& b : fromJoiner) p.joiner->send(Channel::Reliable, b);
  std::vector<Bytes> atJoiner, atHost;
  ASSERT_TRUE(serviceUntil({p.host.get(), p.joiner.get()}, [&] {
    for (Bytes& b : drain(*p.joiner)) atJoiner.push_back(b);
    for (Bytes& b : drain(*p.host)) atHost.push_back(b);
    return atJoiner.size() == fromHost.size() && atHost.size() == fromJoiner.size();
  }));
  EXPECT_EQ(atJoiner, fromHost);
  EXPECT_EQ(atHost, fromJoiner);
  EXPECT_GT(p.host->bytesSent(), 0u);
  EXPECT_GT(p.joiner->bytesReceived(), 0u);
  // Loopback loses nothing in practice; the session would repeat them
  // anyway. ENet refuses to reassemble anything larger than the session's
  // packets, so a large one never reaches the session.
  p.joiner->send(Channel::Unreliable, Bytes(Link::kMaxPacketBytes + 1, 0xAB));
  p.joiner->send(Channel::Unreliable, Bytes{42, 43});
  EXPECT_EQ(firstArrivals({p.host.get(), p.joiner.get()}, *p.host),
            (std::vector<Bytes>{Bytes{42, 43}}));
}

TEST(EnetLink, NothingIsSentBeforeTheHandshake) {
  std::string error;
  auto host = EnetLink::listen({"127.0.0.1", 0}, error);
  ASSERT_TRUE(host) << error;
  auto joiner = EnetLink::connect({"127.0.0.1", host->localPort()}, error);
  ASSERT_TRUE(joiner) << error;
  joiner->send(Channel::Reliable, Bytes{7});
  joiner->send(Channel::Unreliable, Bytes{8});
  ASSERT_TRUE(serviceUntil({host.get(), joiner.get()}, [&] {
    return host->state() == LinkState::Connected && joiner->state() == LinkState::Connected;
  }));
  joiner->send(Channel::Reliable, Bytes{9});
  EXPECT_EQ(firstArrivals({host.get(), joiner.get()}, *host), std::vector<Bytes>{Bytes{9}});
}

TEST(EnetLink, SecondJoinerFindsNoSeat) {
  Pair p = connectedPair();
  ASSERT_TRUE(p.joiner);
  std::string error;
  auto stranger = EnetLink::connect({"127.0.0.1", p.host->localPort()}, error);
  ASSERT_TRUE(stranger) << error;
  // ENet lets the stranger in; the link then sends it away at once, and the
  // seat stays with the first joiner.
  EXPECT_TRUE(serviceUntil({p.host.get(), p.joiner.get(), stranger.get()}, [&] {
    return stranger->state() == LinkState::Closed;
  })) << int(stranger->state());
  EXPECT_EQ(p.host->state(), LinkState::Connected);
  p.joiner->send(Channel::Reliable, Bytes{4});
  EXPECT_EQ(firstArrivals({p.host.get(), p.joiner.get()}, *p.host), std::vector<Bytes>{Bytes{4}});
}

TEST(EnetLink, CloseDeliversTheLastMessageThenEndsBothSides) {
  for (const bool hostCloses : {true, false}) {
    Pair p = connectedPair();
    ASSERT_TRUE(p.joiner);
    EnetLink& closer = hostCloses ? *p.host : *p.joiner;
    EnetLink& other = hostCloses ? *p.joiner : *p.host;
    closer.send(Channel::Reliable, Bytes{0xE0});
    closer.close();
    closer.send(Channel::Reliable, Bytes{0xE1});  // after close: never sent
    std::vector<Bytes> got;
    ASSERT_TRUE(serviceUntil({p.host.get(), p.joiner.get()},
                             [&] {
                               for (Bytes& b : drain(other)) got.push_back(b);
                               return closer.state() == LinkState::Closed &&
                                      other.state() == LinkState::Closed;
                             }))
        << "host closes: " << hostCloses;
    EXPECT_EQ(got, std::vector<Bytes>{Bytes{0xE0}});
  }
}

TEST(EnetLink, JoinerOfNoOneStaysConnectingWithoutBlocking) {
  std::string error;
  // Listen to take a free port, then close it so that nothing answers there.
  uint16_t port = 0;
  {
    auto probe = EnetLink::listen({"127.0.0.1", 0}, error);
    ASSERT_TRUE(probe) << error;
    port = probe->localPort();
  }
  auto joiner = EnetLink::connect({"127.0.0.1", port}, error);
  ASSERT_TRUE(joiner) << error;
  const auto before = std::chrono::steady_clock::now();
  for (int i = 0; i < 100; ++i) joiner->service(0);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
  EXPECT_EQ(joiner->state(), LinkState::Connecting);
}

TEST(EnetLink, PortInUseIsRefusedWithAReason) {
  std::string error;
  auto first = EnetLink::listen({"127.0.0.1", 0}, error);
  ASSERT_TRUE(first) << error;
  auto second = EnetLink::listen({"127.0.0.1", first->localPort()}, error);
  EXPECT_EQ(second, nullptr);
  EXPECT_NE(error.find(std::to_string(first->localPort())), std::string::npos) << error;
}

}  // namespace
}  // namespace zelkar::net
