// Painting only what changed must give the very pixels a whole repaint
// gives: checked over whole recorded matches, where a moved or recoloured
// item left unmarked leaves stale pixels, and by hand where the matches show
// nothing; and a frame at most once per screen refresh, with no change left
// unshown.
#include "qt/frame_damage.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <cmath>
#include <limits>
#include <tuple>

#include "played_match.h"
#include "qt/arena_painter.h"
#include "qt/frame_pacer.h"
#include "qt/language.h"

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
void expectSameAsWholeRepaint(const char* replay) {
  test::TestHost t({}, false);
  QImage whole = makeArenaFrame();
  int ticks = 0, differing = 0;
  test::playCommands(t.host, test::replayHead(replay, 1 << 20), [&] {
    ++ticks;
    // As the window does, every tick or after a few (a paint comes when
    // the event loop gets round to it); compared now and then, since a
    // stale pixel stays stale.
    if (ticks % 2 == 0) t.host.mainWindow().renderChanges();
    if (ticks % kCompareEvery != 0) return;
    t.host.mainWindow().renderChanges();
    paintArena(whole, t.host.game().screen);
    if (t.host.mainWindow().frame() != whole && ++differing == 1)
      ADD_FAILURE() << replay << ": the first frame that differs is after tick " << ticks;
  });
  EXPECT_GT(ticks, 500) << replay;
  EXPECT_EQ(differing, 0) << replay;
}

// A fight with shots, bursts and destructions; friction, obstacles and the
// start panel again; and in English, whose labels run past the boxes the
// layout measured for the Japanese, a match to its winner and loser.
TEST(FrameDamageOverMatches, TheSameAsAWholeRepaintAfterEveryTick) {
  expectSameAsWholeRepaint("fight.zrp");
  expectSameAsWholeRepaint("eleven_obstacles.zrp");
  setLanguage(Language::english);
  expectSameAsWholeRepaint("match_to_ten.zrp");
  setLanguage(Language::japanese);
}

// The window with its clock held still: a change right after a frame is
// too soon for another, and reaches the screen all the same, by the
// window's own wake-up, when nothing else comes after it.
TEST(FramePacingWindow, AChangeTooSoonForAFrameIsShownWithoutAnotherTick) {
  test::TestHost t({}, false);
  GameHost& host = t.host;
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

// A frame at most once per screen refresh, and no change left unshown.
// Ticks every `tickMs` for a second, each one a change that asks to be
// shown: the frames shown, checked never to come closer than a refresh.
int framesInASecond(FramePacer& pacer, int64_t tickMs) {
  int frames = 0;
  int64_t last = -1'000'000;
  for (int64_t t = 0; t < 1000; t += tickMs) {
    if (pacer.waitBeforeShowing(t) != 0) continue;
    EXPECT_GE(t - last, pacer.frameMs()) << "at " << t << " ms";
    pacer.shown(t);
    last = t;
    ++frames;
  }
  return frames;
}

// A 60 Hz screen shows every other tick of a hundred a second (at 0, 20,
// 40 ...: a tick 10 ms after a frame waits for the next); a screen faster
// than the ticks, or ticks at the slowest speed a player may set (25 ms),
// show every tick.
TEST(FramePacer, FramesInASecond) {
  const std::tuple<int, int, int> runs[] = {{60, 10, 50}, {144, 10, 100}, {60, 25, 40}};
  for (const auto& [hz, tickMs, frames] : runs) {
    FramePacer pacer(hz);
    EXPECT_EQ(framesInASecond(pacer, tickMs), frames) << hz << " Hz, a tick every " << tickMs;
  }
}

TEST(FramePacer, AChangeNothingFollowsIsShownAfterTheRefreshAndATick) {
  FramePacer pacer(60);
  EXPECT_EQ(pacer.waitBeforeShowing(1000), 0);  // the first change: at once
  pacer.shown(1000);
  EXPECT_EQ(pacer.waitBeforeShowing(1005), 16 - 5 + FramePacer::kGraceMs);
  EXPECT_EQ(pacer.waitBeforeShowing(1015), 1 + FramePacer::kGraceMs);
  EXPECT_EQ(pacer.waitBeforeShowing(1016), 0);
  // A clock that went back waits as if no time had passed.
  EXPECT_EQ(pacer.waitBeforeShowing(900), 16 + FramePacer::kGraceMs);
}

TEST(FramePacer, AnotherScreensRateCountsFromTheLastFrameShown) {
  FramePacer pacer(60);
  pacer.shown(100);
  pacer.setRefreshHz(144);
  EXPECT_EQ(pacer.waitBeforeShowing(105), 1 + FramePacer::kGraceMs);
  EXPECT_EQ(pacer.waitBeforeShowing(106), 0);
}

TEST(FramePacer, ARefreshRateNoScreenHasCountsAsSixtyHertz) {
  for (double hz : {0.0, -60.0, 5.0, 100000.0, std::numeric_limits<double>::quiet_NaN(),
                    std::numeric_limits<double>::infinity(), 60.0})
    EXPECT_EQ(FramePacer(hz).frameMs(), 16) << hz;  // 1000 / 60, rounded down
  EXPECT_EQ(FramePacer(24).frameMs(), 41);
  EXPECT_EQ(FramePacer(500).frameMs(), 2);
}

}  // namespace
}  // namespace zelkar::qt
