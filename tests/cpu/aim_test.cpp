// The aiming arithmetic, with every expectation worked by hand.
#include "cpu/aim.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelkar::cpu {
namespace {

constexpr float kDirStep = 3.1415f / 32;  // rad per gun direction

TEST(Intercept, StandingTargetIsReachedAtDistanceOverSpeed) {
  // 100 px at 50 px/s: 2 s, whichever side the target stands.
  EXPECT_FLOAT_EQ(interceptSeconds({100, 0}, {0, 0}, 50), 2.0f);
  EXPECT_FLOAT_EQ(interceptSeconds({-60, 80}, {0, 0}, 50), 2.0f);
}

TEST(Intercept, CrossingTargetIsLedAlongItsPath) {
  // Target 100 px ahead crossing at 30 px/s, shell at 50 px/s:
  // 100^2 + (30 t)^2 = (50 t)^2 -> 1600 t^2 = 10000 -> t = 2.5 s, and the
  // shell must go to (100, 75): atan2(75, 100) = 0.6435 rad = 6.55 steps.
  const float t = interceptSeconds({100, 0}, {0, 30}, 50);
  EXPECT_FLOAT_EQ(t, 2.5f);
  EXPECT_EQ(directionTowards({100, 0 + 30 * t}, kDirStep), 7);
  // Crossing the other way leads the other way: 64 - 7.
  EXPECT_EQ(directionTowards({100, -30 * t}, kDirStep), 57);
}

TEST(Intercept, ApproachingAndFleeingTargets) {
  // Coming straight at the gun at 10 px/s from 120 px: 120 = (50 + 10) t.
  EXPECT_FLOAT_EQ(interceptSeconds({120, 0}, {-10, 0}, 50), 2.0f);
  // Fleeing at 10 px/s: 120 = (50 - 10) t.
  EXPECT_FLOAT_EQ(interceptSeconds({120, 0}, {10, 0}, 50), 3.0f);
  // Fleeing faster than the shell flies: never.
  EXPECT_LT(interceptSeconds({120, 0}, {60, 0}, 50), 0.0f);
  // Exactly as fast as the shell, coming head on: the quadratic term
  // vanishes and the two close at 100 px/s: 120 / 100 = 1.2 s.
  EXPECT_FLOAT_EQ(interceptSeconds({120, 0}, {-50, 0}, 50), 1.2f);
}

TEST(Direction, NearestOfTheSixtyFourAndWrapping) {
  EXPECT_EQ(directionTowards({1, 0}, kDirStep), 0);
  EXPECT_EQ(directionTowards({0, 1}, kDirStep), 16);   // down the screen
  EXPECT_EQ(directionTowards({-1, 0}, kDirStep), 32);  // the right player's start
  EXPECT_EQ(directionTowards({0, -1}, kDirStep), 48);  // up the screen
  // Just below the +x axis (negative angle) wraps to 63, not -1.
  EXPECT_EQ(directionTowards({100, -10}, kDirStep), 63);
}

TEST(Turning, ShorterWayRound) {
  EXPECT_EQ(turnTowards(0, 5), 1);
  EXPECT_EQ(turnTowards(5, 0), -1);
  EXPECT_EQ(turnTowards(62, 1), 1);  // 3 steps across the wrap
  EXPECT_EQ(turnTowards(1, 62), -1);
  EXPECT_EQ(turnTowards(40, 40), 0);
  EXPECT_EQ(turnTowards(0, 32), -1);  // half a turn: either way, minus chosen
}

TEST(Pass, ClosestApproachOfStraightCourses) {
  // Shell at the origin flying +x at 10 px/s, target standing at (50, 5):
  // relative position (50, 5), relative velocity (-10, 0) -> 5 s, 5 px.
  const Pass a = closestApproach({50, 5}, {-10, 0});
  EXPECT_FLOAT_EQ(a.seconds, 5.0f);
  EXPECT_FLOAT_EQ(a.distance, 5.0f);
  // Moving apart: the closest moment is now.
  const Pass b = closestApproach({30, 40}, {3, 4});
  EXPECT_FLOAT_EQ(b.seconds, 0.0f);
  EXPECT_FLOAT_EQ(b.distance, 50.0f);
  // No relative motion: now, at the present distance.
  EXPECT_FLOAT_EQ(closestApproach({6, 8}, {0, 0}).distance, 10.0f);
}

GameState launcher() {
  GameState s;
  s.vehicleRadius = 11;
  s.shellSize = 4;
  s.shellHalf = 2;
  MatchTables t;
  t.dirStep = kDirStep;
  // Direction 0 (+x) and 16 (+y) as the direction tables give them for a
  // radius of 11: the gun line ends 9 px from the box's centre (11, 11).
  t.dirCos[0] = 1;
  t.dirSin[0] = 0;
  t.dirLineX[0] = 20;
  t.dirLineY[0] = 11;
  t.dirTurnX[0] = 0;
  t.dirTurnY[0] = 0.35f;
  t.dirCos[16] = 0;
  t.dirSin[16] = 1;
  t.dirLineX[16] = 11;
  t.dirLineY[16] = 20;
  t.dirTurnX[16] = -0.35f;
  t.dirTurnY[16] = 0;
  s.frozenTables = freeze(t);
  for (int p = 0; p < 2; ++p) {
    s.muzzleSpeed[p][0] = 64;  // turning barrel
    s.muzzleSpeed[p][1] = 63;  // still barrel
  }
  return s;
}

TEST(Launch, ShellLeavesBeyondTheMuzzleWithTheVehiclesVelocity) {
  GameState s = launcher();
  for (int p = 0; p < 2; ++p) {
    s.posX[p] = 100;
    s.posY[p] = 200;
    s.velX[p] = 3;
    s.velY[p] = -2;
    // Gun along +x, still: corner at 20 + 100 + 1.5 * 4 - 2 = 124, centre 126;
    // y: 11 + 200 - 2 = 209, centre 211.
    const Launch still = launchOf(s, p, 0, 0);
    EXPECT_FLOAT_EQ(still.centre.x, 126.0f);
    EXPECT_FLOAT_EQ(still.centre.y, 211.0f);
    EXPECT_FLOAT_EQ(still.velocity.x, 63.0f + 3.0f);
    EXPECT_FLOAT_EQ(still.velocity.y, -2.0f);
    // Turning plus along +y: the turning barrel's speed and the throw to -x.
    const Launch turning = launchOf(s, p, 16, 1);
    EXPECT_FLOAT_EQ(turning.centre.x, 111.0f);
    EXPECT_FLOAT_EQ(turning.centre.y, 226.0f);
    EXPECT_FLOAT_EQ(turning.velocity.x, 3.0f - 0.35f);
    EXPECT_FLOAT_EQ(turning.velocity.y, 64.0f - 2.0f);
  }
}

}  // namespace
}  // namespace zelkar::cpu
