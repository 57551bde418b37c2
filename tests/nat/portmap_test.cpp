// A router that never answers, on loopback: the NAT-PMP gateway's port
// bound and silent, the UPnP description served by a listener that
// accepts and says nothing. The game must not wait for it beyond the
// budget, and ending the mapper must not hang on it either.
#include "net/portmap.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace zelkar::net {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

int boundSocket(int type, uint32_t ip, uint16_t port) {
  const int fd = socket(AF_INET, type, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(ip);
  at.sin_port = htons(port);
  if (bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

TEST(Portmap, SilentRouterCostsAtMostTheBudget) {
  // NAT-PMP's port is fixed (5351): a loopback address of our own for it.
  int natpmp = -1;
  uint32_t gateway = 0;
  for (uint32_t ip = 0x7F4D0001; natpmp < 0 && ip < 0x7F4D0040; ++ip) {
    natpmp = boundSocket(SOCK_DGRAM, ip, 5351);
    gateway = ip;
  }
  ASSERT_GE(natpmp, 0);
  const int http = boundSocket(SOCK_STREAM, INADDR_LOOPBACK, 0);
  ASSERT_GE(http, 0);
  ASSERT_EQ(listen(http, 4), 0);
  sockaddr_in at{};
  socklen_t len = sizeof at;
  getsockname(http, reinterpret_cast<sockaddr*>(&at), &len);
  in_addr gw{htonl(gateway)};

  PortmapConfig cfg;
  cfg.request.port = 41830;
  cfg.request.leaseS = kDefaultLeaseS;
  cfg.request.natpmpGateway = inet_ntoa(gw);
  cfg.request.igdUrl = "http://127.0.0.1:" + std::to_string(ntohs(at.sin_port)) + "/rootDesc.xml";
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
