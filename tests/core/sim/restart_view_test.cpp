// A round that restarts inside a tick: the rest of that tick reads the
// restarted arena, not the picture taken when the tick began. The round
// here ends by a stall draw in player 0's fuel step, before any probe of
// the tick: both vehicles go back to their bases and every blast is
// cleared, then player 0's step goes on and the obstacles move and probe.
//
// Expected values by hand: an obstacle that meets nothing keeps its
// velocity, moves by velocity x 0.03 and forgets its last contact (100);
// a vehicle standing still on its own base with no blast beside it keeps
// its place and its armour.
#include <gtest/gtest.h>

#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

constexpr int16_t kStallLimit = 9000;  // steps, without friction
constexpr int16_t kRingLeft = 192;     // of an obstacle ring: left of its centre
constexpr float kLeftward = -10;       // px/s

// Both tanks and magazines empty and the stall count at its limit: player
// 0's next fuel step draws the round, and both players score.
void stallAtLimit(Game& g) {
  GameState& s = g.s;
  s.fuelLeft = {0, 0};
  s.shellsLeft = {0, 0};
  s.stallTicks = kStallLimit;
}

// Obstacle t drifting left so that, after this tick's motion, its leftmost
// probe point lands on client pixel (x, y).
void obstacleReaching(Game& g, int t, int x, int y) {
  const MatchTables& tab = g.s.tables();
  const float left = static_cast<float>(x - tab.obstRingDX[t][kRingLeft]) + 0.3f;
  const float top = static_cast<float>(y - tab.obstRingDY[t][kRingLeft]);
  placeObstacle(g, t, left, top, kLeftward, 0);
}

TEST(RestartView, ObstaclesNoLongerSeeEitherVehicleWhereItStoodBeforeTheRestart) {
  InBattle b;
  auto& [ws, g, s] = b;
  // Vehicle 1 faces right: its gun line (FFC0C0, read as base 1) runs
  // from its centre (310, 310) to the right edge. Vehicle 0 at (500, 300)
  // shows its rim there (code 45, no object).
  placeVehicle(g, 1, 300, 300, 0, 0);
  placeVehicle(g, 0, 500, 300, 0, 0);
  obstacleReaching(g, 0, 318, 310);
  obstacleReaching(g, 1, 520, 310);
  ASSERT_EQ(colourAt(g, 318, 310), 0xFFC0C0) << "the set-up must put obstacle 0 on the gun line";
  ASSERT_EQ(colourCode(colourAt(g, 520, 310)), 45) << "obstacle 1 on vehicle 0's rim";
  stallAtLimit(g);
  const float x0 = s.obstX[0], x1 = s.obstX[1];

  tick(g);

  ASSERT_EQ(s.points[0], 1);  // the draw happened in this tick
  ASSERT_EQ(s.points[1], 1);
  ASSERT_EQ(s.posX[1], s.kitiLeft[1] + 8);  // both back on their bases
  ASSERT_EQ(s.posX[0], s.kitiLeft[0] + 8);
  for (int t = 0; t < 2; ++t) {
    SCOPED_TRACE(t);
    EXPECT_EQ(s.obstVX[t], kLeftward) << "no bounce off base 1 from across the arena";
    EXPECT_EQ(s.obstVY[t], 0);
    EXPECT_EQ(s.obstX[t], static_cast<float>((t == 0 ? x0 : x1) + double(kLeftward) * 0.03));
    EXPECT_EQ(s.obstLastContact[t], kNoContact);
  }
}

TEST(RestartView, BlastsClearedByTheRestartActOnNothingForTheRestOfTheTick) {
  InBattle b;
  auto& [ws, g, s] = b;
  const MatchTables& tab = s.tables();
  // Where vehicle 0 will stand after the restart, and the ring point
  // straight above it, which a standing vehicle probes first.
  const float baseX = s.kitiLeft[0] + 8, baseY = s.kitiTop[0] + 8;
  const int ax = static_cast<int>(baseX) + tab.ringDX[0];
  const int ay = static_cast<int>(baseY) + tab.ringDY[0];
  placeVehicle(g, 0, 300, 300, 0, 0);
  placeVehicle(g, 1, 300, 450, 0, 0);
  // A blast of player 1 (slot 2) over that point and one of player 0
  // (slot 1) on obstacle 0's leftmost probe point, both half spent: drawn
  // at 8, the slot at 5, a 10 kg shell.
  auto blastAt = [&](int owner, int slot, int cx, int cy) {
    s.shellState[owner][slot] = 5;
    s.blastDrawnStart[owner][slot] = 8;
    s.blastDrawnMass[owner][slot] = 10;
    s.shellX[owner][slot] = static_cast<float>(cx - s.shellHalf);
    s.shellY[owner][slot] = static_cast<float>(cy - s.shellHalf);
    Item& pic = g.screen.tamabaku[8 * owner + slot];
    pic.visible = true;
    pic.move(static_cast<int16_t>(cx - 4), static_cast<int16_t>(cy - 4), 8, 8);
  };
  blastAt(1, 2, ax, ay);
  obstacleReaching(g, 0, 450, 200);
  blastAt(0, 1, 450, 200);
  ASSERT_EQ(colourCode(colourAt(g, ax, ay)), 46 + 8 + 2);
  ASSERT_EQ(colourCode(colourAt(g, 450, 200)), 46 + 1);
  stallAtLimit(g);
  const float armour = s.armourLeft[0];
  const float x0 = s.obstX[0];

  tick(g);

  ASSERT_EQ(s.points[0], 1);
  // Vehicle 0 stands on its base: no push, no damage, its own base read.
  EXPECT_EQ(s.armourLeft[0], armour);
  EXPECT_EQ(s.velX[0], 0);
  EXPECT_EQ(s.velY[0], 0);
  EXPECT_EQ(s.posX[0], baseX);
  EXPECT_EQ(s.posY[0], baseY);
  EXPECT_NE(s.lastContact[0], 46 + 8 + 2);
  // The obstacle drifts on untouched.
  EXPECT_EQ(s.obstVX[0], kLeftward);
  EXPECT_EQ(s.obstVY[0], 0);
  EXPECT_EQ(s.obstX[0], static_cast<float>(x0 + double(kLeftward) * 0.03));
  EXPECT_EQ(s.obstLastContact[0], kNoContact);
}

}  // namespace
}  // namespace zelkar
