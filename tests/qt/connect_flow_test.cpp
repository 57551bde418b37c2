// The way to a connected link: through a real meeting point on 127.0.0.1,
// directly, and each way it can fail; then the connect window on top.
#include "qt/connect_flow.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QThread>
#include <cctype>

#include "meet_point.h"
#include "qt/connect_dialog.h"
#include "qt/meet_setting.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::MeetPoint;
using test::spinUntil;
constexpr auto kHostRole = ConnectRequest::Role::host, kJoinRole = ConnectRequest::Role::join;

// What the joiner typed, read as "code X", "host H:P" or "refused": a word
// with no dot or colon is a code, anything else an address. What a code or
// an address may be is MeetMessage.TypedCodes' and JoinAddress'.
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
      {" k7q2-xmrb ", "code K7Q2XMRB"},  // as read out, pasted with blanks
      {"192.0.2.7:5000", "host 192.0.2.7:5000"},
      {"box.lan", "host box.lan:41830"},
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
  // Dropped while it waits (Cancel), a flow closes its socket.
  auto dropped = std::make_unique<ConnectFlow>(throughMeet(kHostRole, point.port()));
  ASSERT_TRUE(pollUntil({dropped.get()}, [&] { return !dropped->meetCode().empty(); }));
  const uint16_t port = dropped->port();
  EXPECT_FALSE(test::udpPortFree(port));
  dropped.reset();
  EXPECT_TRUE(test::udpPortFree(port));

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

// The connect window as a player uses it: mistakes said where they were
// made, the code shown while the host waits, and Cancel. Two windows that
// meet by code are OnlineWindows' end-to-end run.
// After a failure the player tries again without retyping the code.
TEST(ConnectDialog, TheCodeFromTheCommandLineIsInItsBox) {
  NetOptions n;
  parseWithNet(test::commandLine({"--join", "k7q2-xmrb", "--meet", "m"}), n);
  QTemporaryDir dir;
  EXPECT_EQ(ConnectDialog(dir.filePath(QStringLiteral("meet.txt")), n).joinEdit()->text(),
            QStringLiteral("K7Q2XMRB"));
}

TEST(ConnectDialog, MistakesAreSaidOnTheChoicePage) {
  QTemporaryDir dir;
  struct Case {
    const char* meet;
    const char* join;
    const char* session;
    const char* said;  // a part of the sentence shown
  };
  const Case cases[] = {
      {"", "", "", "招待コード（8文字）か"},
      {"", "K7Q2XMR", "", "招待コード（8文字）か"},
      {"", "K7Q2XMRB", "", "相手と同じ待ち合わせサーバー"},
      {"", "192.0.2.7", "", "セッションコードも"},
      {"meet.example.org:99999", "K7Q2XMRB", "", "アドレスが正しくありません"},
  };
  for (const Case& c : cases) {
    ConnectDialog d(dir.filePath(QStringLiteral("meet.txt")), NetOptions{});
    d.meetEdit()->setText(QString::fromUtf8(c.meet));
    d.joinEdit()->setText(QString::fromUtf8(c.join));
    d.sessionEdit()->setText(QString::fromUtf8(c.session));
    d.joinButton()->click();
    EXPECT_FALSE(d.connecting()) << c.join;
    EXPECT_FALSE(d.errorLabel()->isHidden()) << c.join;
    EXPECT_TRUE(d.errorLabel()->text().contains(QString::fromUtf8(c.said)))
        << c.join << " " << qPrintable(d.errorLabel()->text());
  }
}

TEST(ConnectDialog, TheHostSeesItsCodeAndCancelClosesTheSocket) {
  test::MeetPoint point;
  ASSERT_NE(point.port(), 0);
  QTemporaryDir dir;
  const QString setting = dir.filePath(QStringLiteral("meet.txt"));
  ConnectDialog d(setting, NetOptions{});
  d.meetEdit()->setText(point.address());
  d.hostButton()->click();
  EXPECT_TRUE(d.connecting());
  ASSERT_TRUE(spinUntil([&] { return !d.codeShown()->text().isEmpty(); }));
  EXPECT_EQ(d.codeShown()->text().size(), 8);
  EXPECT_TRUE(d.codeShown()->isReadOnly());
  EXPECT_TRUE(d.stageLabel()->text().startsWith(QStringLiteral("相手の参加を待っています…（")));
  // The address is remembered for the next window.
  EXPECT_EQ(readMeetSetting(setting), point.address());
  EXPECT_EQ(ConnectDialog(setting, NetOptions{}).meetEdit()->text(), point.address());

  d.cancelButton()->click();
  EXPECT_FALSE(d.connecting());
  EXPECT_TRUE(d.hostButton()->isVisible() || d.hostButton()->isVisibleTo(&d));
  EXPECT_TRUE(d.errorLabel()->isHidden());
  EXPECT_EQ(d.result(), 0);  // still open for another try
}

}  // namespace
}  // namespace zelkar::qt
