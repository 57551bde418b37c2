// Painting only what changed must give the very pixels a whole repaint
// gives: checked item by item, and over whole recorded matches.
#include "qt/frame_damage.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>

#include "played_match.h"
#include "qt/arena_painter.h"
#include "qt/game_host.h"
#include "qt/language.h"
#include "qt/main_window.h"

namespace zelkar::qt {
namespace {

Item& shownLabel(ScreenModel& m, int16_t left, int16_t top, int16_t width, int16_t height) {
  Item& it = m.syousya;
  it.kind = Widget::Label;
  it.move(left, top, width, height);
  it.visible = true;
  it.backColor = 0x00FFFF;
  return it;
}

TEST(FrameDamage, TheFirstLookAndNewPicturesRepaintEverything) {
  ScreenModel m;
  FrameDamage d;
  EXPECT_EQ(d.look(m), QRegion(0, 0, kClientWidth, kClientHeight));
  EXPECT_TRUE(d.look(m).isEmpty());  // nothing changed
  m.pictures.emplace_back(2, 2, 0x123456);
  EXPECT_EQ(d.look(m), QRegion(0, 0, kClientWidth, kClientHeight));
  d.invalidate();
  EXPECT_EQ(d.look(m), QRegion(0, 0, kClientWidth, kClientHeight));
}

TEST(FrameDamage, AMovedItemMarksWhereItWasAndWhereItIs) {
  ScreenModel m;
  FrameDamage d;
  Item& it = shownLabel(m, 100, 50, 20, 10);
  d.look(m);
  it.move(130, 55);
  EXPECT_EQ(d.look(m), QRegion(100, 50, 20, 10) + QRegion(130, 55, 20, 10));
  it.visible = false;
  EXPECT_EQ(d.look(m), QRegion(130, 55, 20, 10));
  it.visible = true;  // and back where it was hidden
  EXPECT_EQ(d.look(m), QRegion(130, 55, 20, 10));
}

TEST(FrameDamage, ColourOrCaptionChangesMarkTheItemOnly) {
  ScreenModel m;
  FrameDamage d;
  Item& it = shownLabel(m, 10, 20, 30, 12);
  d.look(m);
  it.backColor = 0x0000FF;
  EXPECT_EQ(d.look(m), QRegion(10, 20, 30, 12));
  it.caption = "12";
  EXPECT_EQ(d.look(m), QRegion(10, 20, 30, 12));
  it.foreColor = 0xFF;
  EXPECT_EQ(d.look(m), QRegion(10, 20, 30, 12));
  EXPECT_TRUE(d.look(m).isEmpty());
}

// A read-out's number runs to the left past its narrow box.
TEST(FrameDamage, ARightAlignedCaptionMarksTheTextPastItsBox) {
  ScreenModel m;
  FrameDamage d;
  Item& it = shownLabel(m, 400, 100, 8, 12);
  it.align = Align::Right;
  it.caption = "1";
  d.look(m);
  it.caption = "-123456.75";
  const QRegion changed = d.look(m);
  EXPECT_TRUE(changed.contains(QRect(400, 100, 8, 12)));
  EXPECT_LT(changed.boundingRect().left(), 400 - 30);  // ten characters to the left
}

TEST(FrameDamage, ChildrenOfAHiddenPanelShowNothing) {
  ScreenModel m;
  FrameDamage d;
  m.Picture2.visible = false;
  m.Label1.visible = true;
  d.look(m);
  m.Label1.caption = "x";
  m.Label1.left += 5;
  EXPECT_TRUE(d.look(m).isEmpty());
}

constexpr int kCompareEvery = 5;  // ticks: a whole repaint costs a few ms

// Every tick of a recorded match, the frame brought up to date piece by
// piece against a whole repaint of the same model.
void expectSameAsWholeRepaint(const char* replay, int lines) {
  QTemporaryDir dir;
  GameHost host(GameHost::Options{1, test::configIn(dir, false), {}});
  test::CapturedMessages messages;
  host.windowSystem().setMessageBoxFn(messages.fn());
  QImage whole = makeArenaFrame();
  int ticks = 0, differing = 0;
  test::playCommands(host, test::replayHead(replay, lines), [&] {
    ++ticks;
    // As the window does, every tick or after a few (a paint comes when
    // the event loop gets round to it); compared now and then, since a
    // stale pixel stays stale.
    if (ticks % 2 == 0) host.mainWindow().renderChanges();
    if (ticks % kCompareEvery != 0) return;
    host.mainWindow().renderChanges();
    paintArena(whole, host.game().screen);
    if (host.mainWindow().frame() != whole && ++differing == 1)
      ADD_FAILURE() << replay << ": the first frame that differs is after tick " << ticks;
  });
  EXPECT_GT(ticks, 500) << replay;
  EXPECT_EQ(differing, 0) << replay;
}

TEST(FrameDamageOverMatches, AFightWithShotsBurstsAndDestructions) {
  expectSameAsWholeRepaint("fight.zrp", 1 << 20);
}

TEST(FrameDamageOverMatches, FrictionObstaclesAndTheStartPanelAgain) {
  expectSameAsWholeRepaint("eleven_obstacles.zrp", 1 << 20);
}

// In English, labels run past the boxes the layout measured for the
// Japanese: the pieces must still add up to a whole repaint, to the end of
// a match with its winner and loser.
TEST(FrameDamageOverMatches, EnglishLabelsRunningPastTheirBoxes) {
  setLanguage(Language::english);
  expectSameAsWholeRepaint("match_to_ten.zrp", 1 << 20);
  setLanguage(Language::japanese);
}

// The window with its clock held still: a change right after a frame is
// too soon for another, and reaches the screen all the same, by the
// window's own wake-up, when nothing else comes after it.
TEST(FramePacingWindow, AChangeTooSoonForAFrameIsShownWithoutAnotherTick) {
  QTemporaryDir dir;
  GameHost host(GameHost::Options{1, test::configIn(dir, false), {}});
  test::CapturedMessages messages;
  host.windowSystem().setMessageBoxFn(messages.fn());
  int64_t now = 0;
  MainWindow& window = host.mainWindow();
  window.setClock([&] { return now; });
  host.windowSystem().setFixedSettings(ConfigValues{});
  host.load(1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  // A label in the arena's free corner, away from the start panel's widgets.
  const QRect watched(0, 440, 200, 100);
  ScreenModel& m = host.ownGame().screen;
  Item& label = shownLabel(m, 10, 450, 40, 20);
  QImage whole = makeArenaFrame();
  // What the screen shows there, not the window's own frame: that catches
  // up with the model at any paint, the screen only where Qt was asked to.
  const auto onScreen = [&] {
    paintArena(whole, m);
    const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
    return shown.convertToFormat(whole.format()).copy(watched) == whole.copy(watched);
  };

  now += 1000;
  window.modelChanged(false);  // long after the last frame: shown at once
  ASSERT_TRUE(QTest::qWaitFor(onScreen, 2000));
  label.move(100, 500);
  window.modelChanged(false);  // the same moment as that frame
  ASSERT_FALSE(onScreen());
  EXPECT_TRUE(QTest::qWaitFor(onScreen, 2000));
}

}  // namespace
}  // namespace zelkar::qt
