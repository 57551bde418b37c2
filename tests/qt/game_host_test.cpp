#include "qt/game_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "qt/main_window.h"
#include "qt/qt_window_system.h"
#include "qt/score_window.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

constexpr uint32_t kSeed = 12345;

class GameHostTest : public ::testing::Test {
 protected:
  void SetUp() override { start(1); }

  void start(int scale) {
    host = std::make_unique<GameHost>(GameHost::Options{scale, test::configIn(dir), {}});
    host->windowSystem().setMessageBoxFn(messages.fn());
    host->load(kSeed);
    ASSERT_FALSE(host->ended());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host->mainWindow()));
    host->startTimerFired();  // stamps the sprites, shows the start panel
  }

  RealWidgets& widgets() { return host->mainWindow().widgets(); }
  ScreenModel& model() { return host->ownGame().screen; }

  void startMatch() {
    widgets().game()->click();
    ASSERT_TRUE(messages.shown.empty());
    ASSERT_FALSE(model().Picture2.visible);
  }

  QTemporaryDir dir;
  test::CapturedMessages messages;
  std::unique_ptr<GameHost> host;
};

TEST_F(GameHostTest, TheOptionsSwitchTheCountBoxAndACountOutsideOneToElevenIsRefused) {
  widgets().option2()->click();
  EXPECT_TRUE(model().Option2.value && !model().Option1.value);
  EXPECT_TRUE(widgets().tirikosu()->isEnabled());
  widgets().option1()->click();
  EXPECT_TRUE(model().Option1.value && !widgets().option2()->isChecked());
  EXPECT_FALSE(widgets().tirikosu()->isEnabled());
  // Which counts are refused is the core's rule (GameClick); here the typed
  // text reaches it and the refusal reaches the widgets.
  widgets().option2()->click();
  widgets().tirikosu()->clear();
  QTest::keyClicks(widgets().tirikosu(), QStringLiteral("12"));
  widgets().game()->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first, QString::fromUtf8("1-11の範囲に設定して下さい。"));
  EXPECT_TRUE(model().Picture2.visible);
  EXPECT_TRUE(widgets().tirikosu()->hasFocus());
  EXPECT_FALSE(host->tickClock().isActive());
}

TEST_F(GameHostTest, AMatchStartsTheTickShowsTheScoresAndKeepsTheKeys) {
  widgets().option2()->click();
  widgets().tirikosu()->clear();
  QTest::keyClicks(widgets().tirikosu(), QStringLiteral("11"));
  widgets().mas()->click();
  startMatch();
  EXPECT_EQ(host->game().s.lastObstacle, 10);
  EXPECT_GT(host->game().s.frictionCoef[0], 0.0f);  // the ticked box reached the model
  EXPECT_FALSE(widgets().tirikosu()->isVisible());
  EXPECT_TRUE(host->tickClock().isActive());
  EXPECT_EQ(host->tickClock().interval(), 10);
  EXPECT_EQ(host->tickClock().timerType(), Qt::PreciseTimer);
  EXPECT_TRUE(host->scoreWindow().isVisible());
  EXPECT_TRUE(host->mainWindow().hasFocus());

  // Ctrl+F2 stops the match and brings the start panel back.
  QTest::keyClick(&host->mainWindow(), Qt::Key_F2, Qt::ControlModifier);
  EXPECT_TRUE(model().Picture2.visible);
  EXPECT_FALSE(host->tickClock().isActive());
  EXPECT_TRUE(widgets().game()->isVisible());
}

TEST_F(GameHostTest, TheScoreWindowGivesTheFocusBack) {
  startMatch();
  ScoreWindow& score = host->scoreWindow();
  ASSERT_TRUE(score.isVisible());
  score.activateWindow();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &host->mainWindow(); }));
  EXPECT_TRUE(host->mainWindow().hasFocus());
}

// The tick runs at the model's interval, whatever config.txt said at start.
TEST_F(GameHostTest, TheTickClockFollowsTheModel) {
  model().timer1Interval = 25;
  host->refresh();
  EXPECT_TRUE(host->tickClock().isActive());
  EXPECT_EQ(host->tickClock().interval(), 25);
  model().timer1Interval = 0;
  host->refresh();
  EXPECT_FALSE(host->tickClock().isActive());
}

TEST_F(GameHostTest, ClosingTheMainWindowEndsEverythingAndNoHandlerRunsAfter) {
  startMatch();
  host->mainWindow().close();
  EXPECT_TRUE(host->ended());
  EXPECT_TRUE(host->game().ended);
  EXPECT_FALSE(host->scoreWindow().isVisible());
  EXPECT_FALSE(host->tickClock().isActive());
  host->keyDown(113, 2);  // Ctrl+F2 would show the start panel
  host->tick();
  EXPECT_FALSE(model().Picture2.visible);
}

TEST_F(GameHostTest, ScaleEnlargesThePaintingAndTheWidgetsOnly) {
  host.reset();
  start(2);
  EXPECT_EQ(host->mainWindow().size(), QSize(2 * kClientWidth, 2 * kClientHeight));
  host->mainWindow().renderFrame();
  EXPECT_EQ(host->mainWindow().frame().size(), QSize(kClientWidth, kClientHeight));
  const Item& box = model().tirikosu;
  EXPECT_EQ(widgets().tirikosu()->geometry(),
            QRect(2 * (model().Picture2.left + box.left), 2 * (model().Picture2.top + box.top),
                  2 * box.width, 2 * box.height));
  EXPECT_EQ(host->game().s.fieldWidth, kClientWidth);
}

TEST(GameHostLoad, AsksForTheSettingsUntilTheFileCanBeRead) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("config.txt"));
  GameHost host(GameHost::Options{1, ConfigLocation(path, path), {}});
  int asked = 0;
  host.windowSystem().setSettingsWindowFn([&] {
    // The first time the player closes the window without saving.
    if (++asked == 2) test::writeAll(path, " 0 \r\n20\r\n 1 \r\n");
  });
  host.load(kSeed);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(host.game().s.tickInterval, 20);
  EXPECT_TRUE(host.mainWindow().isVisible());
  EXPECT_TRUE(host.startClock().isActive());
}

}  // namespace
}  // namespace zelkar::qt
