// Over real UDP on 127.0.0.1: a caller with a wrong code is refused and its
// link sent away; the listening link then takes the next caller, the real
// joiner, who plays. (A caller's oversized packet is the listening link's
// to refuse: enet_limits_test.cpp.)
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "net/enet_link.h"
#include "net/session.h"

namespace zelkar::net {
namespace {

using Clock = std::chrono::steady_clock;

SessionConfig config(Role role, const char* code) {
  SessionConfig c;
  c.role = role;
  c.code = code;
  c.settings = ConfigValues{1, 10, 0};
  return c;
}

TEST(EnetHostile, AWrongCallerIsRefusedAloneAndTheRealJoinerPlays) {
  std::string error;
  auto hostLink = EnetLink::listen(Endpoint{"127.0.0.1", 0}, error);
  ASSERT_TRUE(hostLink) << error;
  Session host(*hostLink, config(Role::Host, "R3AL"));
  const auto t0 = Clock::now();
  // Polls the host and `caller` until `caller` leaves the greeting, 3 s at most.
  auto greet = [&](const char* code) {
    auto link = EnetLink::connect(Endpoint{"127.0.0.1", hostLink->localPort()}, error);
    EXPECT_TRUE(link) << error;
    if (!link) return Outcome::None;
    Session caller(*link, config(Role::Joiner, code));
    const auto until = Clock::now() + std::chrono::seconds(3);
    while (Clock::now() < until && caller.phase() == Phase::WaitingForPeer) {
      const int64_t now =
          std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count();
      host.poll(now);
      caller.poll(now);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return caller.phase() == Phase::Running ? Outcome::None : caller.outcome();
  };
  EXPECT_EQ(greet("GUESS"), Outcome::WrongCode);
  EXPECT_EQ(host.phase(), Phase::WaitingForPeer);
  EXPECT_EQ(host.stats().callersTurnedAway, 1);
  EXPECT_EQ(greet("R3AL"), Outcome::None);  // running
  EXPECT_EQ(host.phase(), Phase::Running);
}

}  // namespace
}  // namespace zelkar::net
