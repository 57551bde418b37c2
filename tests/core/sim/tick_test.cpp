#include <gtest/gtest.h>

#include <cmath>

#include "sim/setup_adjust.h"
#include "support/fake_window_system.h"

namespace zelkar {
namespace {

using testing::FakeWindowSystem;
using testing::startedGame;
using testing::tick;

constexpr int16_t kX = 88, kD = 68, kW = 87, kZ = 90, kC = 67;

// A match in which the left player (1) has confirmed its settings and no
// obstacle or wall can interfere yet: the tests drive one vehicle.
struct Battle {
  FakeWindowSystem ws;
  Game g = startedGame(ws, 7, false, "1");
  GameState& s = g.s;
  Battle() {
    formKeyDown(g, ws, kX, 0);
    formKeyUp(g, kX, 0);
  }
};

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

TEST(VehicleStep, EngineAcceleratesAndTheSpriteFollows) {
  Battle b;
  GameState& s = b.s;
  const float x0 = s.posX[1];
  formKeyDown(b.g, b.ws, kD, 0);
  tick(b.g);
  const float accel = 100 * 1000 / s.totalMass[1];
  EXPECT_FLOAT_EQ(s.velX[1], accel * 0.03f);
  EXPECT_GT(s.posX[1], x0);
  EXPECT_EQ(s.velY[1], 0);
  EXPECT_EQ(b.g.screen.kyara[1].left, std::nearbyint(s.posX[1]));
  EXPECT_EQ(s.prevX[1], s.posX[1]);
}

TEST(VehicleStep, DiagonalThrustIsAsStrongAsStraight) {
  Battle straight, diagonal;
  formKeyDown(straight.g, straight.ws, kD, 0);
  formKeyDown(diagonal.g, diagonal.ws, kD, 0);
  formKeyDown(diagonal.g, diagonal.ws, kW, 0);
  tick(straight.g);
  tick(diagonal.g);
  const float v = straight.s.velX[1];
  const float vx = diagonal.s.velX[1], vy = diagonal.s.velY[1];
  EXPECT_NEAR(std::sqrt(vx * vx + vy * vy), v, 1e-5);
  EXPECT_LT(vy, 0);
}

TEST(VehicleStep, FuelRunningOutMidBurnStopsTheEngine) {
  Battle b;
  GameState& s = b.s;
  s.fuelLeft[1] = s.fuelRate[1] * 0.03f * 1.5f;  // one and a half burns left
  formKeyDown(b.g, b.ws, kD, 0);
  tick(b.g);
  EXPECT_GT(s.fuelLeft[1], 0);
  const float massAfterLastBurn = s.totalMass[1];
  const float v = s.velX[1];
  tick(b.g);
  EXPECT_EQ(s.fuelLeft[1], 0);
  EXPECT_EQ(s.totalMass[1], massAfterLastBurn);
  EXPECT_EQ(s.velX[1], v);  // coasting without friction
}

TEST(VehicleStep, StaticFrictionHoldsAWeakEngine) {
  Battle b;
  GameState& s = b.s;
  s.frictionCoef = {5, 2};
  s.setting[1][1] = 4 * s.totalMass[1] / 1000;  // engine acceleration just under 4
  formKeyDown(b.g, b.ws, kD, 0);
  tick(b.g);
  EXPECT_EQ(s.velX[1], 0);

  s.setting[1][1] = 6.001f * s.totalMass[1] / 1000;
  tick(b.g);
  EXPECT_NEAR(s.velX[1], 1.0 * 0.03, 2e-4);  // 6 - 5 = 1 px/s^2
}

TEST(VehicleStep, KineticFrictionSlowsThenStopsASlidingVehicle) {
  Battle b;
  GameState& s = b.s;
  s.frictionCoef = {1, 2};
  s.velX[1] = 10;
  tick(b.g);
  EXPECT_FLOAT_EQ(s.velX[1], 10 - 2 * 0.03f);
  s.velX[1] = 0.05f;  // below one step of friction (0.06): stops before thrust
  tick(b.g);
  EXPECT_EQ(s.velX[1], 0);
}

TEST(VehicleStep, EdgesReflectWithoutLoss) {
  Battle b;
  GameState& s = b.s;
  s.posX[1] = 4.5f;
  s.velX[1] = -100;
  s.velY[1] = 7;
  tick(b.g);
  EXPECT_EQ(s.posX[1], 4);
  EXPECT_EQ(s.velX[1], 100);
  EXPECT_EQ(s.velY[1], 7);

  s.posY[1] = 579 - 21 - 4 - 0.5f;
  s.velY[1] = 100;
  tick(b.g);
  EXPECT_EQ(s.posY[1], 579 - 21 - 4);
  EXPECT_EQ(s.velY[1], -100);
}

TEST(VehicleStep, GunTurnsEveryOtherTickAndWraps) {
  Battle b;
  GameState& s = b.s;
  formKeyDown(b.g, b.ws, kZ, 0);
  s.tickPhase = 0;
  tick(b.g);  // phase 1: odd, no turn
  EXPECT_EQ(s.gunDir[1], 0);
  tick(b.g);  // phase 2
  EXPECT_EQ(s.gunDir[1], 63);
  EXPECT_FLOAT_EQ(b.g.screen.hline[1].x2, s.tables().dirLineX[63]);
  formKeyUp(b.g, kZ, 0);
  formKeyDown(b.g, b.ws, kC, 0);
  tick(b.g, 4);
  EXPECT_EQ(s.gunDir[1], 1);
}

TEST(VehicleStep, SetupPlayersStandStill) {
  Battle b;
  GameState& s = b.s;
  const float x0 = s.posX[0];
  s.thrustX[0] = 1;
  tick(b.g, 40);
  EXPECT_EQ(s.posX[0], x0);
}

TEST(Stall, CountsOnlyWhenBothAreStranded) {
  Battle b;
  GameState& s = b.s;
  s.fuelLeft = {0, 0};
  s.shellsLeft = {0, 0};
  s.settingRow[0] = kRowInBattle;
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
