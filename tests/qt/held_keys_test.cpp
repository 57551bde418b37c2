// Keys let go while another window had the keyboard: the release went to
// that window, so the game releases them itself when its window is active
// again, and the recording says so, where zelkar-sim will read it.
#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QTimer>

#include "qt/recorder.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

constexpr int kLeft = 1, kRight = 0;  // player indices
constexpr int kVkF1 = 112;

class HeldKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.host.load(777);
    ASSERT_TRUE(QTest::qWaitForWindowActive(main()));
    t.host.startTimerFired();
    t.widgets().game()->click();
    ASSERT_FALSE(t.host.game().screen.Picture2.visible);
    // Both players confirm their settings: X, keypad 2.
    QTest::keyClick(main(), Qt::Key_X);
    QTest::keyClick(main(), Qt::Key_2, Qt::KeypadModifier);
    ASSERT_EQ(state().settingRow[kLeft], 6);
    ASSERT_EQ(state().settingRow[kRight], 6);
  }

  MainWindow* main() { return &t.host.mainWindow(); }
  GameState& state() { return t.host.ownGame().s; }

  // Another window has the keyboard while `meanwhile` runs; then the main
  // window has it again. The offscreen platform moves the keyboard only
  // for modal loops, so the window system's word for it is given here.
  void takeKeyboardElsewhere(const std::function<void(QWidget*)>& meanwhile) {
    QDialog other(main());
    other.show();
    emit qApp->focusWindowChanged(other.windowHandle());
    meanwhile(&other);
    other.close();
    emit qApp->focusWindowChanged(main()->windowHandle());
  }

  // The recording as written so far, line by line.
  QList<QByteArray> recorded() {
    recorder.reset();  // flushes the ticks
    return test::readAll(files.filePath(QStringLiteral("match.zrp"))).split('\n');
  }

  QTemporaryDir files;
  std::unique_ptr<Recorder> recorder =
      std::make_unique<Recorder>(files.filePath(QStringLiteral("match.zrp")));
  test::TestHost t{{.recorder = recorder.get()}};
};

TEST_F(HeldKeysTest, AKeyLetGoInTheSettingsWindowIsReleasedWhenItCloses) {
  // The settings window as the player meets it: modal, with the keyboard,
  // and the tick going on underneath.
  t.host.windowSystem().setSettingsWindowFn([&] {
    QDialog window(main());
    QTimer::singleShot(0, &window, [&] {
      EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
      EXPECT_EQ(state().thrustX[kLeft], 1.0f);  // still held as far as the game knows
      QTest::keyRelease(&window, Qt::Key_D);
      QTest::keyRelease(&window, Qt::Key_F1, Qt::ControlModifier);
      window.reject();
    });
    window.exec();
  });
  QTest::keyPress(main(), Qt::Key_D);
  ASSERT_EQ(state().thrustX[kLeft], 1.0f);
  QTest::keyPress(main(), Qt::Key_F1, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == main(); }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return state().thrustX[kLeft] == 0.0f; }));

  // In the recording the releases follow the settings key, as in the game.
  const QList<QByteArray> lines = recorded();
  const auto at = [&](const char* line) { return lines.indexOf(QByteArray(line)); };
  ASSERT_GE(at("down 68"), 0);
  ASSERT_GE(at("down 112 2"), 0);
  EXPECT_GT(at("up 68"), at("down 112 2"));
  EXPECT_GT(at("up 112"), at("down 112 2"));
  EXPECT_EQ(lines.count("up 68"), 1);
}

// Keys already let go (A) are not released twice.
TEST_F(HeldKeysTest, BothPlayersKeysAreReleasedAfterAnotherWindowHadTheKeyboard) {
  QTest::keyClick(main(), Qt::Key_A);
  QTest::keyPress(main(), Qt::Key_D);                      // left player: +x
  QTest::keyPress(main(), Qt::Key_8, Qt::KeypadModifier);  // right player: up
  QTest::keyPress(main(), Qt::Key_3, Qt::KeypadModifier);  // right player: turn
  ASSERT_EQ(state().thrustX[kLeft], 1.0f);
  ASSERT_EQ(state().thrustY[kRight], -1.0f);
  ASSERT_EQ(state().turnDir[kRight], 1);

  // Another window takes the keyboard, opened between two events rather
  // than inside a handler; D is let go there.
  takeKeyboardElsewhere([&](QWidget* other) {
    QTest::keyRelease(other, Qt::Key_D);
    EXPECT_EQ(state().thrustX[kLeft], 1.0f);  // the game cannot know yet
  });
  EXPECT_EQ(state().thrustX[kLeft], 0.0f);
  EXPECT_EQ(state().thrustY[kRight], 0.0f);
  EXPECT_EQ(state().turnDir[kRight], 0);
  const QList<QByteArray> lines = recorded();
  EXPECT_EQ(lines.count("up 68"), 1);
  EXPECT_EQ(lines.count("up 104"), 1) << lines.join("|").right(200).constData();
  EXPECT_EQ(lines.count("up 99"), 1);
  EXPECT_EQ(lines.count("up 65"), 1);
  EXPECT_EQ(lines.count("up " + QByteArray::number(kVkF1)), 0);
}

}  // namespace
}  // namespace zelkar::qt
