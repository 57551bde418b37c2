// The connect window as a player uses it: mistakes said where they were
// made, the code shown while the host waits, and Cancel. Two windows that
// meet by code are OnlineWindows' end-to-end run.
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
