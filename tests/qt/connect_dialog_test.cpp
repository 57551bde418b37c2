// The connect window as a player uses it: mistakes said where they were
// made, the code shown while the host waits, Cancel, and two windows that
// meet through a real meeting point on 127.0.0.1.
#include "qt/connect_dialog.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>

#include "meet_point.h"
#include "qt/meet_setting.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

bool spinUntil(const std::function<bool()>& done, int ms = 10000) {
  return test::spinUntil(done, ms);
}

TEST(ConnectOptions, TheMeetingPointAndTheWindowFromTheCommandLine) {
  NetOptions n;
  EXPECT_EQ(parseWithNet(test::commandLine({"--online", "--record", "m.zrp"}), n).action,
            CommandLine::Action::run);
  EXPECT_TRUE(n.dialog);
  EXPECT_EQ(n.role, NetOptions::Role::none);
  EXPECT_EQ(n.recordPath, QStringLiteral("m.zrp"));  // the session's, as online
  parseWithNet(test::commandLine({"--host", "--meet", "meet.example.org"}), n);
  EXPECT_EQ(n.meet, (net::Endpoint{"meet.example.org", 41831}));
  EXPECT_FALSE(n.portChosen);  // any free port will do
  parseWithNet(test::commandLine({"--host", "5000", "--meet=m:7"}), n);
  EXPECT_EQ(n.meet, (net::Endpoint{"m", 7}));
  EXPECT_TRUE(n.portChosen);
  parseWithNet(test::commandLine({"--join", "k7q2-xmrb", "--meet", "m", "--no-portmap"}), n);
  EXPECT_EQ(n.joinCode, QStringLiteral("K7Q2XMRB"));
  EXPECT_FALSE(n.portmap);
  // After a failure the player tries again without retyping the code.
  QTemporaryDir dir;
  EXPECT_EQ(ConnectDialog(dir.filePath(QStringLiteral("meet.txt")), n).joinEdit()->text(),
            QStringLiteral("K7Q2XMRB"));
  for (const auto& bad :
       {test::commandLine({"--meet", "m"}), test::commandLine({"--meet"}),
        test::commandLine({"--host", "--meet", "m:0"}), test::commandLine({"--online", "--host"}),
        test::commandLine({"--join", "192.0.2.7:5000", "--meet", "m"}),
        test::commandLine({"--join", "K7Q2XMR", "--meet", "m"})}) {
    EXPECT_EQ(parseWithNet(bad, n).action, CommandLine::Action::error)
        << qPrintable(bad.join(u' '));
  }
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

TEST(ConnectDialog, TwoWindowsMeetByCode) {
  test::MeetPoint point;
  ASSERT_NE(point.port(), 0);
  QTemporaryDir dir;
  ConnectDialog host(dir.filePath(QStringLiteral("a.txt")), NetOptions{});
  ConnectDialog joiner(dir.filePath(QStringLiteral("b.txt")), NetOptions{});
  host.meetEdit()->setText(point.address());
  host.hostButton()->click();
  ASSERT_TRUE(spinUntil([&] { return !host.codeShown()->text().isEmpty(); }));
  joiner.meetEdit()->setText(point.address());
  joiner.joinEdit()->setText(host.codeShown()->text().toLower());
  joiner.joinButton()->click();
  ASSERT_TRUE(spinUntil([&] {
    return host.result() == QDialog::Accepted && joiner.result() == QDialog::Accepted;
  })) << qPrintable(joiner.errorLabel()->text());
  // The meeting code also guards the session's greeting.
  EXPECT_EQ(host.options().role, NetOptions::Role::host);
  EXPECT_EQ(joiner.options().role, NetOptions::Role::join);
  EXPECT_EQ(host.options().code, host.codeShown()->text());
  EXPECT_EQ(joiner.options().code, host.options().code);
  auto flow = joiner.takeFlow();
  ASSERT_TRUE(flow);
  auto link = flow->takeLink();
  ASSERT_TRUE(link);
  EXPECT_EQ(link->state(), net::LinkState::Connected);
}

}  // namespace
}  // namespace zelkar::qt
