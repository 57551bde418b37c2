// A frame at most once per screen refresh, and no change left unshown.
#include "qt/frame_pacer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace zelkar::qt {
namespace {

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
