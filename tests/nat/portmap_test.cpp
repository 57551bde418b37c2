// A router that never answers, on loopback: the NAT-PMP gateway's port
// bound and silent, the UPnP description served by a listener that
// accepts and says nothing. The game must not wait for it beyond the
// budget, and ending the mapper must not hang on it either.
#include "net/portmap.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <chrono>

#include "support/loopback_socket.h"

namespace zelkar::net {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TEST(Portmap, SilentRouterCostsAtMostTheBudget) {
  // NAT-PMP's port is fixed (5351): a loopback address of our own for it.
  int natpmp = -1;
  uint32_t gateway = 0;
  for (uint32_t ip = 0x7F4D0001; natpmp < 0 && ip < 0x7F4D0040; ++ip) {
    natpmp = test::boundSocket(SOCK_DGRAM, 5351, nullptr, ip);
    gateway = ip;
  }
  ASSERT_GE(natpmp, 0);
  uint16_t httpPort = 0;
  const int http = test::boundSocket(SOCK_STREAM, 0, &httpPort);
  ASSERT_GE(http, 0);
  ASSERT_EQ(listen(http, 4), 0);
  in_addr gw{htonl(gateway)};

  PortmapConfig cfg;
  cfg.request.port = 41830;
  cfg.request.leaseS = kDefaultLeaseS;
  cfg.request.natpmpGateway = inet_ntoa(gw);
  cfg.request.igdUrl = "http://127.0.0.1:" + std::to_string(httpPort) + "/rootDesc.xml";
  cfg.budgetMs = 2000;
  cfg.removeBudgetMs = 500;

  const auto t0 = Clock::now();
  {
    Portmapper mapper(cfg);
    // Asking happens in the background: the constructor does not wait for
    // the router (the margins are for a loaded machine and the sanitizers).
    EXPECT_LT(Clock::now() - t0, milliseconds(1000));
    EXPECT_EQ(mapper.status().state, PortmapState::Trying);
    const PortmapStatus st = mapper.wait();
    const auto waited = Clock::now() - t0;
    EXPECT_EQ(st.state, PortmapState::Failed);
    EXPECT_GE(waited, milliseconds(1900));
    EXPECT_LT(waited, milliseconds(2800));
  }
  // The end waits for the stuck thread no longer than its own budget.
  EXPECT_LT(Clock::now() - t0, milliseconds(3600));
  close(natpmp);
  close(http);
}

}  // namespace
}  // namespace zelkar::net
