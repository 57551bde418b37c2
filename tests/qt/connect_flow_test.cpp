// The way to a connected link, apart from the widgets: through a real
// meeting point on 127.0.0.1, directly, and each way it can fail.
#include "qt/connect_flow.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <cctype>

#include "meet_point.h"

namespace zelkar::qt {
namespace {

using test::MeetPoint;
constexpr auto kHostRole = ConnectRequest::Role::host, kJoinRole = ConnectRequest::Role::join;

// What the joiner typed, read as "code X", "host H:P" or "refused".
TEST(JoinTarget, ACodeOrAnAddress) {
  const auto read = [](const char* typed) -> std::string {
    const auto t = readJoinTarget(typed);
    if (!t) return "refused";
    if (!t->host) return "code " + t->code;
    return "host " + t->host->host + ":" + std::to_string(t->host->port) + t->code;
  };
  const struct {
    const char* typed;
    const char* read;
  } cases[] = {
      {"K7Q2XMRB", "code K7Q2XMRB"},
      {" k7q2-xmrb ", "code K7Q2XMRB"},  // as read out, pasted with blanks
      {"192.0.2.7:5000", "host 192.0.2.7:5000"},
      {"192.0.2.7", "host 192.0.2.7:41830"},
      {"box.lan", "host box.lan:41830"},
      {"K7Q2XMR", "refused"},    // a code a letter short
      {"K7Q2XMRO", "refused"},   // O is no code letter
      {"localhost", "refused"},  // no dot, no colon: taken for a code
      {"192.0.2.7:0", "refused"},
      {"", "refused"},
  };
  for (const auto& c : cases) EXPECT_EQ(read(c.typed), c.read) << c.typed;
}

ConnectRequest throughMeet(ConnectRequest::Role role, uint16_t meetPort, std::string code = {}) {
  ConnectRequest r;
  r.role = role;
  r.meet = net::Endpoint{"127.0.0.1", meetPort};
  r.endpoint = {"", 0};
  r.joinCode = std::move(code);
  return r;
}

// Polls on the real clock until `done`, at most `ms`.
template <typename Done>
bool pollUntil(std::initializer_list<ConnectFlow*> flows, Done done, int ms = 10000) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    for (ConnectFlow* f : flows) f->poll(t.nsecsElapsed() / 1000);
    if (done()) return true;
    QThread::usleep(500);
  }
  return false;
}

TEST(ConnectFlow, HostAndJoinerMeetByCodeAndHandOverConnectedLinks) {
  MeetPoint point;
  ASSERT_NE(point.port(), 0);
  ConnectFlow host(throughMeet(kHostRole, point.port()));
  EXPECT_EQ(host.stage(), ConnectStage::Meeting);
  ASSERT_TRUE(pollUntil({&host}, [&] { return !host.meetCode().empty(); }));
  EXPECT_EQ(host.meetCode().size(), 8u);
  EXPECT_EQ(host.stage(), ConnectStage::Meeting);  // now waiting for the joiner

  // Typed in lower case with a dash, as a person might.
  std::string typed = host.meetCode();
  for (char& c : typed) c = char(std::tolower(static_cast<unsigned char>(c)));
  ConnectFlow joiner(throughMeet(kJoinRole, point.port(), readJoinTarget(typed)->code));
  ASSERT_TRUE(pollUntil({&host, &joiner},
                        [&] {
                          return host.stage() == ConnectStage::Connected &&
                                 joiner.stage() == ConnectStage::Connected;
                        }))
      << joiner.detail() << host.detail();
  // Both on one machine: the addresses the point saw are the local ones.
  EXPECT_TRUE(joiner.path() == "punched" || joiner.path() == "local") << joiner.path();
  const uint16_t hostPort = host.port();
  auto link = host.takeLink();
  ASSERT_TRUE(link);
  EXPECT_EQ(link->state(), net::LinkState::Connected);
  EXPECT_EQ(link->localPort(), hostPort);  // the socket the routers opened, not a new one
  EXPECT_FALSE(host.takeLink());           // handed over once
}

TEST(ConnectFlow, EachFailureIsNamed) {
  MeetPoint point;
  ASSERT_NE(point.port(), 0);
  // A code nobody registered.
  ConnectFlow stranger(throughMeet(kJoinRole, point.port(), "ABCDEFGH"));
  ASSERT_TRUE(pollUntil({&stranger}, [&] { return stranger.stage() == ConnectStage::Failed; }));
  EXPECT_EQ(stranger.failure(), ConnectFailure::UnknownCode);
  EXPECT_EQ(stranger.port(), 0);  // the socket is closed at once

  // A host that waits past its limit: nobody joined. The flow's clock is
  // the caller's, so the wait is jumped over.
  ConnectFlow lonely(throughMeet(kHostRole, point.port()));
  ASSERT_TRUE(pollUntil({&lonely}, [&] { return !lonely.meetCode().empty(); }));
  lonely.poll(ConnectFlow::kHostWaitMicros + 20'000'000);
  EXPECT_EQ(lonely.failure(), ConnectFailure::NobodyJoined);

  // A meeting point that never answers: given up after 5 s of its clock.
  ConnectFlow silent(throughMeet(kHostRole, test::freeUdpPort()));
  for (int64_t s = 0; s <= 6 && silent.stage() != ConnectStage::Failed; ++s)
    silent.poll(s * 1'000'000);
  EXPECT_EQ(silent.failure(), ConnectFailure::MeetSilent);

  // A direct join where no host listens.
  ConnectRequest direct;
  direct.role = kJoinRole;
  direct.endpoint = {"127.0.0.1", test::freeUdpPort()};
  ConnectFlow nobody(direct);
  nobody.poll(0);
  EXPECT_EQ(nobody.stage(), ConnectStage::Connecting);
  nobody.poll(ConnectFlow::kDirectJoinMicros + 1);
  EXPECT_EQ(nobody.failure(), ConnectFailure::HostUnreachable);

  // A meeting point's name that resolves to nothing.
  ConnectRequest unknown = throughMeet(kHostRole, 1);
  unknown.meet->host = "no-such-host.invalid";
  EXPECT_EQ(ConnectFlow(unknown).failure(), ConnectFailure::UnknownMeet);
}

TEST(ConnectFlow, DroppingTheFlowClosesItsSocket) {
  MeetPoint point;
  ASSERT_NE(point.port(), 0);
  auto host = std::make_unique<ConnectFlow>(throughMeet(kHostRole, point.port()));
  ASSERT_TRUE(pollUntil({host.get()}, [&] { return !host->meetCode().empty(); }));
  const uint16_t port = host->port();
  EXPECT_FALSE(test::udpPortFree(port));
  host.reset();  // Cancel
  EXPECT_TRUE(test::udpPortFree(port));
}

TEST(ConnectFlow, ADirectHostWaitsOnItsPortAndTheJoinerComes) {
  ConnectRequest listen;
  listen.role = kHostRole;
  listen.endpoint = {"127.0.0.1", 0};  // loopback: no router is asked
  ConnectFlow host(listen);
  host.poll(0);
  EXPECT_EQ(host.stage(), ConnectStage::Waiting);
  EXPECT_TRUE(host.externalAddress().empty());
  ConnectRequest to;
  to.role = kJoinRole;
  to.endpoint = {"127.0.0.1", host.port()};
  ConnectFlow joiner(to);
  ASSERT_TRUE(pollUntil({&host, &joiner}, [&] {
    return host.stage() == ConnectStage::Connected && joiner.stage() == ConnectStage::Connected;
  }));
  EXPECT_EQ(host.path(), "direct");
  EXPECT_EQ(joiner.path(), "direct");
}

}  // namespace
}  // namespace zelkar::qt
