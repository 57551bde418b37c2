// Over real UDP on 127.0.0.1: a hand-made peer speaking ENet directly
// calls a waiting host with a wrong code, then with a packet far larger
// than any the session sends; the host refuses that caller alone and the
// real joiner that comes next plays.
#include <enet/enet.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "net/enet_link.h"
#include "net/packet.h"
#include "net/session.h"

namespace zelkar::net {
namespace {

using Clock = std::chrono::steady_clock;

int64_t micros(Clock::time_point t0) {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count();
}

SessionConfig config(Role role) {
  SessionConfig c;
  c.role = role;
  c.code = "R3AL";
  c.settings = ConfigValues{1, 10, 0};
  return c;
}

// A raw ENet client: what a stranger on the network can send.
class Stranger {
 public:
  explicit Stranger(uint16_t port) {
    host_ = enet_host_create(nullptr, 1, 2, 0, 0);
    ENetAddress to{};
    enet_address_set_host(&to, "127.0.0.1");
    to.port = port;
    peer_ = enet_host_connect(host_, &to, 2, 0);
  }
  ~Stranger() { enet_host_destroy(host_); }
  // One service round; returns the event seen, if any.
  ENetEventType service(std::vector<uint8_t>* got = nullptr) {
    ENetEvent e;
    if (enet_host_service(host_, &e, 0) <= 0) return ENET_EVENT_TYPE_NONE;
    if (e.type == ENET_EVENT_TYPE_RECEIVE) {
      if (got) got->assign(e.packet->data, e.packet->data + e.packet->dataLength);
      enet_packet_destroy(e.packet);
    }
    return e.type;
  }
  void send(uint8_t channel, const std::vector<uint8_t>& bytes, uint32_t flags) {
    enet_peer_send(peer_, channel, enet_packet_create(bytes.data(), bytes.size(), flags));
    enet_host_flush(host_);
  }

 private:
  ENetHost* host_;
  ENetPeer* peer_;
};

TEST(EnetHostile, AStrangerIsRefusedAloneAndTheRealJoinerPlays) {
  std::string error;
  auto hostLink = EnetLink::listen(Endpoint{"127.0.0.1", 0}, error);
  ASSERT_TRUE(hostLink) << error;
  Session host(*hostLink, config(Role::Host));
  const auto t0 = Clock::now();
  auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); };

  {
    Stranger s(hostLink->localPort());
    bool connected = false, refused = false, closed = false;
    std::vector<uint8_t> bytes;
    // A packet of 2 MB (the session's are at most 1200 bytes), then a
    // wrong code.
    while (micros(t0) < 3000000 && !closed) {
      host.poll(micros(t0));
      const ENetEventType e = s.service(&bytes);
      if (e == ENET_EVENT_TYPE_CONNECT) {
        connected = true;
        s.send(0, std::vector<uint8_t>(2 << 20, 'Z'), ENET_PACKET_FLAG_RELIABLE);
        s.send(1, writePacket(Hello{"GUESS", 2}), 0);
      } else if (e == ENET_EVENT_TYPE_RECEIVE) {
        const auto p = readPacket(bytes);
        refused = refused || (p && std::holds_alternative<Refuse>(p->body) &&
                              std::get<Refuse>(p->body).reason == RefuseReason::WrongCode);
      } else if (e == ENET_EVENT_TYPE_DISCONNECT) {
        closed = true;
      }
      pause();
    }
    EXPECT_TRUE(connected);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(closed);
  }
  EXPECT_EQ(host.phase(), Phase::WaitingForPeer);
  EXPECT_EQ(host.stats().callersTurnedAway, 1);
  EXPECT_LT(hostLink->bytesReceived(), 2u << 20);  // never taken in whole

  auto joinLink = EnetLink::connect(Endpoint{"127.0.0.1", hostLink->localPort()}, error);
  ASSERT_TRUE(joinLink) << error;
  Session joiner(*joinLink, config(Role::Joiner));
  const int64_t until = micros(t0) + 3000000;
  while (micros(t0) < until && joiner.phase() != Phase::Running) {
    host.poll(micros(t0));
    joiner.poll(micros(t0));
    pause();
  }
  EXPECT_EQ(joiner.phase(), Phase::Running);
  EXPECT_EQ(host.phase(), Phase::Running);
}

}  // namespace
}  // namespace zelkar::net
