// Over real UDP on 127.0.0.1: a caller speaking ENet directly sends one
// packet of a megabyte in fragments. ENet would set aside the whole packet
// when its first fragment arrives, before the session could look at it;
// the listening link takes nothing larger than the session's packets.
#include <enet/enet.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "net/enet_link.h"

namespace zelkar::net {
namespace {

// The largest block ENet asked for since the last reset, from any host in
// this process.
std::atomic<std::size_t> largest{0};

void* countingMalloc(std::size_t n) {
  std::size_t seen = largest.load();
  while (n > seen && !largest.compare_exchange_weak(seen, n)) {
  }
  return std::malloc(n);
}

TEST(EnetLimits, AFragmentedPacketLargerThanTheSessionsIsNeverSetAside) {
  ENetCallbacks counting{countingMalloc, std::free, nullptr};
  ASSERT_EQ(enet_initialize_with_callbacks(ENET_VERSION, &counting), 0);
  std::string error;
  auto link = EnetLink::listen(Endpoint{"127.0.0.1", 0}, error);
  ASSERT_TRUE(link) << error;
  ENetHost* caller = enet_host_create(nullptr, 1, 2, 0, 0);
  ASSERT_NE(caller, nullptr);
  ENetAddress to{};
  enet_address_set_host(&to, "127.0.0.1");
  to.port = link->localPort();
  ENetPeer* peer = enet_host_connect(caller, &to, 2, 0);
  ASSERT_NE(peer, nullptr);

  constexpr std::size_t kHuge = 1 << 20;
  bool sent = false;
  int roundsAfter = 0;
  // A few hundred rounds after the send: loopback carries the first
  // fragments in well under one.
  for (int round = 0; round < 3000 && roundsAfter < 300; ++round) {
    link->service(0);
    ENetEvent e;
    while (enet_host_service(caller, &e, 0) > 0) {
      if (e.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(e.packet);
      if (e.type == ENET_EVENT_TYPE_CONNECT && !sent) {
        ENetPacket* p = enet_packet_create(nullptr, kHuge, ENET_PACKET_FLAG_RELIABLE);
        std::fill_n(p->data, kHuge, uint8_t('Z'));
        enet_peer_send(peer, 0, p);
        enet_host_flush(caller);
        sent = true;
        largest = 0;  // the caller's own copy is not the listener's doing
      }
    }
    if (sent) ++roundsAfter;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(sent);
  EXPECT_GT(link->bytesReceived(), 10000u);  // fragments did arrive
  EXPECT_LT(largest.load(), std::size_t(64 * 1024));
  enet_host_destroy(caller);
  link.reset();
  ENetCallbacks plain{std::malloc, std::free, nullptr};
  enet_initialize_with_callbacks(ENET_VERSION, &plain);
}

}  // namespace
}  // namespace zelkar::net
