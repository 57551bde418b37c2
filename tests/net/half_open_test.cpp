// The link comes up on the two machines at different moments. A joiner's
// side is up once the host's transport has answered its call; the host's
// only once the joiner's acknowledgement of that answer arrives, and until
// then the host's transport drops whatever the joiner sends. On a lossy
// link that acknowledgement may take several of the host's repeated
// answers, and the joiner must still be greeting when it gets through.
// The other way round, the host's side may come up in the same service
// that brings the greeting, and that session must still be watched.
#include <gtest/gtest.h>

#include "session_pair.h"

namespace zelkar::net::testing {
namespace {

// The host's end of a simulated link, up only from `upAt`: before, it is
// Connecting and what arrives for it is dropped, as the real transport
// does while its handshake is unfinished.
class LateLink final : public Link {
 public:
  LateLink(Link& inner, int64_t upAt) : inner_(inner), upAt_(upAt) {}
  void send(Channel ch, std::span<const uint8_t> packet) override {
    if (now_ >= upAt_) inner_.send(ch, packet);
  }
  bool receive(std::vector<uint8_t>& out) override { return now_ >= upAt_ && inner_.receive(out); }
  LinkState state() const override {
    return now_ >= upAt_ ? inner_.state() : LinkState::Connecting;
  }
  void service(int64_t nowMicros) override {
    now_ = nowMicros;
    inner_.service(nowMicros);
    std::vector<uint8_t> dropped;
    while (now_ < upAt_ && inner_.receive(dropped)) {
    }
  }
  void turnAway() override { inner_.turnAway(); }
  std::string peerAddress() const override { return inner_.peerAddress(); }

 private:
  Link& inner_;
  int64_t upAt_;
  int64_t now_ = 0;
};

SimLinkConfig slowLink() {
  SimLinkConfig c;
  c.latencyMicros = 75000;
  return c;
}

// The host's side comes up 3.5 s after the joiner's: the joiner greets on
// and both play. A host that never comes up leaves the joiner with no
// answer: no host there, said after the greeting time, not a lost
// connection after three seconds.
TEST(HalfOpenLink, TheJoinerGreetsUntilTheHostsSideIsUp) {
  constexpr int64_t kNever = int64_t(1) << 60;
  for (const int64_t lag : {int64_t(3500000), kNever}) {
    SCOPED_TRACE(lag);
    SimNetwork net(slowLink());
    LateLink hostEnd(net.end(0), lag);
    Session host(hostEnd, SessionPair::hostConfig());
    Session joiner(net.end(1), SessionPair::joinerConfig());
    int64_t now = 0;
    for (; now < 10000000 && joiner.phase() == Phase::WaitingForPeer; now += 1000) {
      host.poll(now);
      joiner.poll(now);
    }
    if (lag != kNever) {
      EXPECT_EQ(host.phase(), Phase::Running);
      EXPECT_EQ(joiner.phase(), Phase::Running);
      EXPECT_LT(now, lag + 500000);  // the next greeting after the host is up
    } else {
      EXPECT_EQ(joiner.outcome(), Outcome::HostUnreachable);
      EXPECT_GT(now, kGreetingMicros);
      EXPECT_LE(now, kGreetingMicros + 2000);
    }
  }
}

// The greeting arrives in the host's first poll with its link up; then
// the cable is pulled. The host must still find the silence.
TEST(HalfOpenLink, AGreetingInTheHostsFirstConnectedPollStartsItsSilenceClock) {
  SimLinkConfig c;
  c.connectMicros = 5000;
  SimNetwork net(c);
  Session host(net.end(0), SessionPair::hostConfig());
  Session joiner(net.end(1), SessionPair::joinerConfig());
  int64_t now = 0;
  for (; now < c.connectMicros; now += 1000) host.poll(now), joiner.poll(now);
  joiner.poll(now);  // greets at once, and with no delay on the way
  host.poll(now);
  ASSERT_EQ(host.phase(), Phase::Running);
  net.cut();
  const int64_t cutAt = now;
  for (; now < cutAt + 5000000 && host.phase() != Phase::Ended; now += 1000) host.poll(now);
  EXPECT_EQ(host.outcome(), Outcome::ConnectionLost);
  EXPECT_LE(now - cutAt, kSilenceMicros + 2000);
}

}  // namespace
}  // namespace zelkar::net::testing
