#include <gtest/gtest.h>

#include "sim/setup_adjust.h"
#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

// The vehicle's own step (engine, fuel, friction, edges, gun) is held by
// the golden replays, which drive it on every tick of every match.

// The adjustment's pace (every 16th tick) and its limits are held by the
// golden replays; what the panel shows of it here.
TEST(SetupAdjustment, ShowsTheNewValueAndHighlightsOnlyTheRowInHand) {
  FakeWindowSystem ws;
  Game g = startedGame(ws);
  GameState& s = g.s;
  s.settingRow[1] = 3;  // shell capacity
  s.settingStep[1] = 10;
  s.tickPhase = 0;
  tick(g, 16);
  EXPECT_EQ(g.screen.setsuuti[7 + 3].caption, "60");
  EXPECT_EQ(g.screen.setsuuti[7 + 3].foreColor, kCyan);
  // Moving to another row takes the highlight from the previous one.
  s.settingRow[1] = 4;
  tick(g, 16);
  EXPECT_EQ(g.screen.setsuuti[7 + 3].foreColor, 0);
  EXPECT_EQ(g.screen.setsuuti[7 + 4].foreColor, kCyan);
}

// A vehicle with fuel resetting the count is held by the stall replay,
// the limits by match_test.cpp.
TEST(Stall, CountsOnlyWhenBothAreStranded) {
  InBattle b;
  GameState& s = b.s;
  s.fuelLeft = {0, 0};
  s.shellsLeft = {0, 0};
  tick(b.g, 10);
  EXPECT_EQ(s.stallTicks, 20);  // two stranded steps a tick
  s.shellsLeft[0] = 1;
  tick(b.g);
  EXPECT_EQ(s.stallTicks, 20);
}

}  // namespace
}  // namespace zelkar
