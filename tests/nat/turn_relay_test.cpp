// The relay client against a real relay server: ENet's own handshake and
// packets carried both ways with both sides relayed (the symmetric-NAT
// case), and a refused or silent server costing no more than its budget.
#include "net/turn_relay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "meet/turn_credential.h"
#include "nat/relay_server.h"
#include "net/enet_link.h"
#include "support/loopback_socket.h"

namespace zelkar::net {
namespace {

using meet::TurnCredential;
using meet::turnRestCredential;

using Clock = std::chrono::steady_clock;

TurnUrl urlFor(const test::RelayServer& server, const std::string& name, int64_t lifeS = 600) {
  const TurnCredential c =
      turnRestCredential(test::RelayServer::kSecret, int64_t(std::time(nullptr)) + lifeS, name);
  return TurnUrl{"127.0.0.1", server.port(), c.username, c.password};
}

TEST(TurnRelay, CarriesEnetBothWaysWithBothSidesRelayed) {
  test::RelayServer server;
  ASSERT_TRUE(server.running());
  std::string error;
  auto hostLink = EnetLink::listen({"127.0.0.1", 0}, error);
  ASSERT_TRUE(hostLink) << error;
  TurnRelay::Config hostCfg;
  hostCfg.server = urlFor(server, "host");
  hostCfg.gamePort = hostLink->localPort();
  auto hostRelay = TurnRelay::start(hostCfg, error);
  ASSERT_TRUE(hostRelay) << error;

  TurnRelay::Config joinCfg;
  joinCfg.server = urlFor(server, "join");
  joinCfg.peer = hostRelay->relayed();
  auto joinRelay = TurnRelay::start(joinCfg, error);
  ASSERT_TRUE(joinRelay) << error;
  // Two allocations on the relay's one address, each with its own port.
  EXPECT_EQ(hostRelay->relayed().ip, 0x7F000001u);
  EXPECT_NE(hostRelay->relayed().port, joinRelay->relayed().port);

  auto joinLink = EnetLink::connect({"127.0.0.1", joinRelay->localPort()}, error);
  ASSERT_TRUE(joinLink) << error;
  ASSERT_TRUE(test::serviceUntil(*hostLink, *joinLink, [&] {
    return hostLink->state() == LinkState::Connected && joinLink->state() == LinkState::Connected;
  }));
  const std::vector<uint8_t> ping = {'p', 'i', 'n', 'g'}, pong = {'p', 'o', 'n', 'g'};
  std::vector<uint8_t> got;
  joinLink->send(Channel::Reliable, ping);
  ASSERT_TRUE(test::serviceUntil(*hostLink, *joinLink, [&] { return hostLink->receive(got); }));
  EXPECT_EQ(got, ping);
  hostLink->send(Channel::Reliable, pong);
  ASSERT_TRUE(test::serviceUntil(*hostLink, *joinLink, [&] { return joinLink->receive(got); }));
  EXPECT_EQ(got, pong);
  EXPECT_EQ(hostRelay->failure(), "");
  EXPECT_GT(joinRelay->bytesSent(), 0u);
  EXPECT_GT(hostRelay->bytesReceived(), 0u);
}

TEST(TurnRelay, RefusalOrSilenceEndsWithinTheBudget) {
  test::RelayServer server;
  ASSERT_TRUE(server.running());
  TurnUrl wrong = urlFor(server, "join");
  wrong.password = "AAAAAAAAAAAAAAAAAAAAAAAAAAA=";
  // A silent "server": a bound port that never answers.
  uint16_t silentPort = 0;
  const int silent = test::boundSocket(SOCK_DGRAM, 0, &silentPort);
  ASSERT_GE(silent, 0);
  const struct {
    TurnUrl url;
    const char* says;
  } cases[] = {
      {urlFor(server, "late", -60), "refused the login"},  // expired a minute ago
      {wrong, "refused the login"},
      {TurnUrl{"127.0.0.1", silentPort, "u", "p"}, "no answer"},
  };
  for (const auto& c : cases) {
    TurnRelay::Config cfg;
    cfg.server = c.url;
    cfg.peer = turn::Addr4{0x7F000001, 9};
    cfg.budgetMs = 1000;
    std::string error;
    const auto t0 = Clock::now();
    EXPECT_FALSE(TurnRelay::start(cfg, error));
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(1500)) << c.says;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
  close(silent);
}

}  // namespace
}  // namespace zelkar::net
