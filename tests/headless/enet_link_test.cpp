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
using Links = std::vector<EnetLink*>;
constexpr auto kPatience = std::chrono::seconds(3);  // loopback answers in well under 1 ms

// Services every link until `done` holds or the patience runs out.
bool serviceUntil(const Links& links, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    for (EnetLink* l : links) l->service(0);
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

// Services the links until `at` has received `count` messages (or until
// `closed` when given); all it received by then.
std::vector<Bytes> received(const Links& links, EnetLink& at, std::size_t count,
                            const std::function<bool()>& closed = {}) {
  std::vector<Bytes> got;
  Bytes b;
  EXPECT_TRUE(serviceUntil(links, [&] {
    while (at.receive(b)) got.push_back(b);
    return closed ? closed() : got.size() >= count;
  }));
  return got;
}

// A host and its joiner, connected. The joiner's two messages sent before
// the handshake must never arrive: nothing is sent before it.
struct Pair {
  std::unique_ptr<EnetLink> host, joiner;
  Links both() const { return {host.get(), joiner.get()}; }
  Pair() {
    std::string error;
    host = EnetLink::listen({"127.0.0.1", 0}, error);
    EXPECT_TRUE(host && host->localPort() != 0) << error;
    if (host) joiner = EnetLink::connect({"127.0.0.1", host->localPort()}, error);
    EXPECT_TRUE(joiner) << error;
    if (!joiner) return;
    EXPECT_EQ(host->state(), LinkState::Connecting);
    EXPECT_EQ(joiner->state(), LinkState::Connecting);
    joiner->send(Channel::Reliable, Bytes{7});
    joiner->send(Channel::Unreliable, Bytes{8});
    EXPECT_TRUE(serviceUntil(both(), [&] {
      return host->state() == LinkState::Connected && joiner->state() == LinkState::Connected;
    }));
  }
};

TEST(EnetLink, MessagesArriveInOrderBothWaysAfterTheHandshakeAndNoneLargerThanAPacket) {
  Pair p;
  ASSERT_TRUE(p.joiner);
  const std::vector<Bytes> fromHost = {{1, 2, 3}, {4}, {}, {5, 6}}, fromJoiner = {{9}, {8, 7}};
  for (const Bytes& b : fromHost) p.host->send(Channel::Reliable, b);
  for (const Bytes& b : fromJoiner) p.joiner->send(Channel::Reliable, b);
  EXPECT_EQ(received(p.both(), *p.joiner, 4), fromHost);
  EXPECT_EQ(received(p.both(), *p.host, 2), fromJoiner);
  EXPECT_GT(p.host->bytesSent(), 0u);
  EXPECT_GT(p.joiner->bytesReceived(), 0u);
  // ENet refuses to reassemble anything larger than the session's packets,
  // so a large one never reaches the session.
  p.joiner->send(Channel::Unreliable, Bytes(Link::kMaxPacketBytes + 1, 0xAB));
  p.joiner->send(Channel::Unreliable, Bytes{42, 43});
  EXPECT_EQ(received(p.both(), *p.host, 1), (std::vector<Bytes>{Bytes{42, 43}}));
}

TEST(EnetLink, ASecondJoinerFindsNoSeat) {
  Pair p;
  ASSERT_TRUE(p.joiner);
  std::string error;
  auto stranger = EnetLink::connect({"127.0.0.1", p.host->localPort()}, error);
  ASSERT_TRUE(stranger) << error;
  // ENet lets the stranger in; the link then sends it away at once, and the
  // seat stays with the first joiner.
  EXPECT_TRUE(serviceUntil({p.host.get(), p.joiner.get(), stranger.get()},
                           [&] { return stranger->state() == LinkState::Closed; }));
  EXPECT_EQ(p.host->state(), LinkState::Connected);
  p.joiner->send(Channel::Reliable, Bytes{4});
  EXPECT_EQ(received(p.both(), *p.host, 1), std::vector<Bytes>{Bytes{4}});
}

TEST(EnetLink, CloseDeliversTheLastMessageThenEndsBothSides) {
  for (const bool hostCloses : {true, false}) {
    Pair p;
    ASSERT_TRUE(p.joiner);
    EnetLink& closer = hostCloses ? *p.host : *p.joiner;
    EnetLink& other = hostCloses ? *p.joiner : *p.host;
    closer.send(Channel::Reliable, Bytes{0xE0});
    closer.close();
    closer.send(Channel::Reliable, Bytes{0xE1});  // after close: never sent
    EXPECT_EQ(received(p.both(), other, 0,
                       [&] {
                         return closer.state() == LinkState::Closed &&
                                other.state() == LinkState::Closed;
                       }),
              std::vector<Bytes>{Bytes{0xE0}})
        << "host closes: " << hostCloses;
  }
}

TEST(EnetLink, APortInUseIsRefusedAndAJoinerOfNoOneWaitsWithoutBlocking) {
  std::string error;
  auto first = EnetLink::listen({"127.0.0.1", 0}, error);
  ASSERT_TRUE(first) << error;
  const uint16_t port = first->localPort();
  EXPECT_EQ(EnetLink::listen({"127.0.0.1", port}, error), nullptr);
  EXPECT_NE(error.find(std::to_string(port)), std::string::npos) << error;
  first.reset();  // nothing answers on the port now
  auto joiner = EnetLink::connect({"127.0.0.1", port}, error);
  ASSERT_TRUE(joiner) << error;
  const auto before = std::chrono::steady_clock::now();
  for (int i = 0; i < 100; ++i) joiner->service(0);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
  EXPECT_EQ(joiner->state(), LinkState::Connecting);
}

}  // namespace
}  // namespace zelkar::net
