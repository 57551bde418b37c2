// The relay client against a real relay server: a refused or silent
// server costs no more than its budget. (ENet carried through it with both
// sides relayed: relay_fallback_test.cpp.)
#include "net/turn_relay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "meet/turn_credential.h"
#include "nat/relay_server.h"
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
