#include <gtest/gtest.h>

#include "sim/setup_adjust.h"
#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

// The vehicle's own step (engine, fuel, friction, edges, gun) is held by
// the golden replays, which drive it on every tick of every match.

TEST(SetupAdjustment, ActsOnlyEverySixteenthTickWithinTheLimits) {
  FakeWindowSystem ws;
  Game g = startedGame(ws);
  GameState& s = g.s;
  s.settingRow[1] = 3;  // shell capacity, limit 100
  s.settingStep[1] = 10;
  s.tickPhase = 0;
  tick(g, 15);
  EXPECT_EQ(s.setting[1][3], 50);
  tick(g);  // phase 0
  EXPECT_EQ(s.setting[1][3], 60);
  EXPECT_EQ(g.screen.setsuuti[7 + 3].caption, "60");
  EXPECT_EQ(g.screen.setsuuti[7 + 3].foreColor, kCyan);
  tick(g, 16 * 5);
  EXPECT_EQ(s.setting[1][3], 100);
  EXPECT_EQ(s.settingStep[1], 0);  // stopped at the limit

  s.setting[1][3] = 5;
  s.settingStep[1] = -10;
  tick(g, 16);
  EXPECT_EQ(s.setting[1][3], 5);  // 1 is the least
  EXPECT_EQ(s.settingStep[1], 0);
  s.settingStep[1] = -1;
  tick(g, 16 * 6);
  EXPECT_EQ(s.setting[1][3], 1);

  // Moving to another row takes the highlight from the previous one.
  s.settingRow[1] = 4;
  tick(g, 16);
  EXPECT_EQ(g.screen.setsuuti[7 + 3].foreColor, 0);
  EXPECT_EQ(g.screen.setsuuti[7 + 4].foreColor, kCyan);
}

TEST(Stall, CountsOnlyWhenBothAreStranded) {
  InBattle b;
  GameState& s = b.s;
  s.fuelLeft = {0, 0};
  s.shellsLeft = {0, 0};
  tick(b.g, 10);
  EXPECT_EQ(s.stallTicks, 20);  // two stranded steps a tick
  EXPECT_EQ(s.stallLimit, 9000);
  s.shellsLeft[0] = 1;
  tick(b.g);
  EXPECT_EQ(s.stallTicks, 20);
  s.shellsLeft[0] = 0;
  s.fuelLeft[0] = 100;
  tick(b.g);
  EXPECT_EQ(s.stallTicks, 0);  // a vehicle with fuel resets the count
}

}  // namespace
}  // namespace zelkar
