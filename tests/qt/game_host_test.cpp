// The window of the game: the start panel, whose widgets the screen model
// masters, the tick, the score window, closing, and the first load.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QTimer>

#include "qt/real_widgets.h"
#include "qt/score_window.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

constexpr uint32_t kSeed = 12345;

class GameHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host().load(kSeed);
    ASSERT_FALSE(host().ended());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host().mainWindow()));
    host().startTimerFired();  // stamps the sprites, shows the start panel
  }
  GameHost& host() { return t.host; }
  RealWidgets& widgets() { return t.widgets(); }
  ScreenModel& model() { return host().ownGame().screen; }
  void startMatch() {
    widgets().game()->click();
    ASSERT_TRUE(t.messages.shown.empty());
    ASSERT_FALSE(model().Picture2.visible);
  }

  test::TestHost t;
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
  t.typeCount("12");
  widgets().game()->click();
  ASSERT_EQ(t.messages.shown.size(), 1u);
  EXPECT_EQ(t.messages.shown[0].first, QString::fromUtf8("1-11の範囲に設定して下さい。"));
  EXPECT_TRUE(model().Picture2.visible);
  EXPECT_TRUE(widgets().tirikosu()->hasFocus());
  EXPECT_FALSE(host().tickClock().isActive());
}

TEST_F(GameHostTest, AMatchStartsTheTickShowsTheScoresAndKeepsTheKeys) {
  t.typeCount("11");
  widgets().mas()->click();
  startMatch();
  EXPECT_EQ(host().game().s.lastObstacle, 10);
  EXPECT_GT(host().game().s.frictionCoef[0], 0.0f);  // the ticked box reached the model
  EXPECT_FALSE(widgets().tirikosu()->isVisible());
  EXPECT_TRUE(host().tickClock().isActive());
  EXPECT_EQ(host().tickClock().interval(), 10);
  EXPECT_EQ(host().tickClock().timerType(), Qt::PreciseTimer);
  EXPECT_TRUE(host().scoreWindow().isVisible());
  EXPECT_TRUE(host().mainWindow().hasFocus());
  // The score window gives the focus back.
  host().scoreWindow().activateWindow();
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return QApplication::activeWindow() == &host().mainWindow(); }));
  EXPECT_TRUE(host().mainWindow().hasFocus());

  // Ctrl+F2 stops the match and brings the start panel back.
  QTest::keyClick(&host().mainWindow(), Qt::Key_F2, Qt::ControlModifier);
  EXPECT_TRUE(model().Picture2.visible);
  EXPECT_FALSE(host().tickClock().isActive());
  EXPECT_TRUE(widgets().game()->isVisible());
}

// The tick runs at the model's interval, whatever config.txt said at start.
TEST_F(GameHostTest, TheTickClockFollowsTheModel) {
  for (const int ms : {25, 0}) {
    model().timer1Interval = int16_t(ms);
    host().refresh();
    EXPECT_EQ(host().tickClock().isActive(), ms > 0);
    if (ms > 0) {
      EXPECT_EQ(host().tickClock().interval(), ms);
    }
  }
}

TEST_F(GameHostTest, ClosingTheMainWindowEndsEverythingAndNoHandlerRunsAfter) {
  startMatch();
  host().mainWindow().close();
  EXPECT_TRUE(host().ended());
  EXPECT_TRUE(host().game().ended);
  EXPECT_FALSE(host().scoreWindow().isVisible());
  EXPECT_FALSE(host().tickClock().isActive());
  host().keyDown(113, 2);  // Ctrl+F2 would show the start panel
  host().tick();
  EXPECT_FALSE(model().Picture2.visible);
}

TEST(GameHostLoad, AsksForTheSettingsUntilTheFileCanBeRead) {
  test::TestHost t({}, false);
  int asked = 0;
  t.host.windowSystem().setSettingsWindowFn([&] {
    // The first time the player closes the window without saving.
    if (++asked == 2) test::writeAll(t.dir.filePath("config.txt"), " 0 \r\n20\r\n 1 \r\n");
  });
  t.host.load(kSeed);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(t.host.game().s.tickInterval, 20);
  EXPECT_TRUE(t.host.mainWindow().isVisible());
  EXPECT_TRUE(t.host.startClock().isActive());
}

// Whatever a player did to a widget that no handler took (a replay plays,
// say) is undone at the next showing, even when the model itself did not
// change meanwhile; a model change still shows after an unchanged showing.
TEST(RealWidgets, APlayersChangeNoHandlerTookIsUndoneByTheNextShowing) {
  QWidget window;
  RealWidgets w(&window, 1);
  ScreenModel m;
  m.Picture2.visible = true;
  m.Option1.value = true;
  m.Option2.value = false;
  m.tirikosu.enabled = true;
  m.tirikosu.caption = "3";
  w.showModel(m);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_TRUE(w.option1()->isChecked());

  w.option2()->click();
  ASSERT_TRUE(w.option2()->isChecked());
  w.showModel(m);
  EXPECT_TRUE(w.option1()->isChecked());
  EXPECT_FALSE(w.option2()->isChecked());

  QTest::keyClicks(w.tirikosu(), QStringLiteral("7"));
  ASSERT_NE(w.tirikosu()->text(), QStringLiteral("3"));
  w.showModel(m);
  EXPECT_EQ(w.tirikosu()->text(), QStringLiteral("3"));

  w.showModel(m);
  m.tirikosu.caption = "5";
  w.showModel(m);
  EXPECT_EQ(w.tirikosu()->text(), QStringLiteral("5"));
}

}  // namespace
}  // namespace zelkar::qt
