// Meeting by code when no punch gets through: both sides fall back to the
// relay the meeting point names, and ENet connects through it. The meeting
// point runs here on a loopback socket and tells each side a dead address
// for the other, so every probe is lost as behind a symmetric NAT.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <optional>
#include <thread>

#include "meet/server.h"
#include "nat/relay_server.h"
#include "net/enet_link.h"
#include "net/enet_rendezvous.h"
#include "support/loopback_socket.h"

namespace zelkar::net {
namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kLoopback = 0x7F000001;

TEST(RelayFallback, BothSidesPlayThroughTheRelayWhenEveryProbeIsLost) {
  test::RelayServer relay;
  ASSERT_TRUE(relay.running());
  uint16_t meetPort = 0, deadPort = 0;
  const int meetFd = test::boundSocket(SOCK_DGRAM | SOCK_NONBLOCK, 0, &meetPort);
  const int deadFd = test::boundSocket(SOCK_DGRAM, 0, &deadPort);  // bound, never read
  uint64_t next = 0;
  meet::Server point(
      meet::Limits{}, [&next] { return ++next * 0x9E3779B97F4A7C15ull; },
      [](const std::string&) {});
  point.offerRelay({{kLoopback, relay.port()}, test::RelayServer::kSecret, 3600, [] {
                      return int64_t(std::time(nullptr));
                    }});
  // The meeting point's turn: answer what came, with the dead address in
  // place of each side's real ones.
  auto serve = [&](int64_t nowMs) {
    uint8_t buf[128];
    sockaddr_in from{};
    socklen_t len = sizeof from;
    ssize_t n;
    while ((n = recvfrom(meetFd, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len)) >
           0) {
      const meet::Address sender{ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)};
      auto out = point.handle(sender, std::span<const uint8_t>(buf, std::size_t(n)), nowMs);
      if (!out) continue;
      auto m = meet::readMessage(*out);
      if (m->kind == meet::Kind::Found || m->kind == meet::Kind::Joining) {
        m->peer = m->local = {kLoopback, deadPort};
        out = meet::writeMessage(*m);
      }
      sendto(meetFd, out->data(), out->size(), 0, reinterpret_cast<sockaddr*>(&from), len);
    }
  };

  std::string error;
  auto hostLink = EnetLink::listen({"127.0.0.1", 0}, error);
  auto joinLink = EnetLink::listen({"127.0.0.1", 0}, error);
  ASSERT_TRUE(hostLink && joinLink) << error;
  const meet::Address at{kLoopback, meetPort};
  Rendezvous host(*hostLink, at, "");
  std::optional<Rendezvous> joiner;
  bool sawRelaying = false;
  const auto t0 = Clock::now();
  // Bounded: the fall-back starts after 3 s and is given up after 15 more.
  while (Clock::now() - t0 < std::chrono::seconds(25)) {
    const int64_t now =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count();
    const auto hostStep = host.poll(now);
    if (!joiner && !host.code().empty()) joiner.emplace(*joinLink, at, host.code());
    const auto joinStep = joiner ? joiner->poll(now) : Rendezvous::Step::Meeting;
    serve(now / 1000);
    sawRelaying = sawRelaying || joinStep == Rendezvous::Step::Relaying;
    if (hostStep == Rendezvous::Step::Failed || joinStep == Rendezvous::Step::Failed) break;
    if (hostStep == Rendezvous::Step::Done && joinStep == Rendezvous::Step::Done) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_TRUE(joiner);
  ASSERT_EQ(host.step(), Rendezvous::Step::Done) << host.failure();
  ASSERT_EQ(joiner->step(), Rendezvous::Step::Done) << joiner->failure();
  EXPECT_TRUE(sawRelaying);
  EXPECT_EQ(host.path(), "relayed");
  EXPECT_EQ(joiner->path(), "relayed");
  EXPECT_EQ(host.peerAddress(), (meet::Address{kLoopback, relay.port()}));
  ASSERT_TRUE(host.relay() && joiner->relay());
  EXPECT_EQ(joiner->peerAddress().port, host.relay()->relayed().port);
  EXPECT_EQ(point.stats().relayLogins, 2u);

  // And the game's packets cross it.
  const std::vector<uint8_t> ping = {'p', 'i', 'n', 'g'};
  joinLink->send(Channel::Reliable, ping);
  std::vector<uint8_t> got;
  EXPECT_TRUE(test::serviceUntil(*hostLink, *joinLink, [&] { return hostLink->receive(got); }));
  EXPECT_EQ(got, ping);
  close(meetFd);
  close(deadFd);
}

}  // namespace
}  // namespace zelkar::net
