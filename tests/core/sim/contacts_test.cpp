#include <gtest/gtest.h>

#include <cmath>

#include "sim/contact_probe.h"
#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

// Ticks until vehicle p's x velocity changes sign; the number of ticks.
int tickUntilTurned(Game& g, int p, int limit = 60) {
  const float v0 = g.s.velX[p];
  for (int n = 1; n <= limit; ++n) {
    tick(g);
    if ((g.s.velX[p] > 0) != (v0 > 0)) return n;
  }
  return -1;
}

// A fresh match in battle for every test.
class VehicleContacts : public ::testing::Test {
 protected:
  FakeWindowSystem ws;
  Game g = battleGame(ws);
  GameState& s = g.s;
};

TEST(ContactProbe, StartsAQuarterTurnLeftOfTheMotion) {
  const float unit = 3.1415f / 256;
  EXPECT_EQ(probeDirection(0, 0, unit, 128), 0);      // standing: straight up first
  EXPECT_EQ(probeDirection(5, 0, unit, 128), 0);      // moving right: up, then round to right
  EXPECT_EQ(probeDirection(0, 5, unit, 128), 128);    // moving down
  EXPECT_EQ(probeDirection(0, -5, unit, 128), -128);  // moving up
  EXPECT_EQ(probeDirection(-5, 0, unit, 128), -256);  // moving left
  EXPECT_EQ(probeDirection(5, 5, unit, 128), 64);     // down-right, an eighth turn
  EXPECT_EQ(probeDirection(-5, -5, unit, 128), -192);
  EXPECT_EQ(probeDirection(0, 3, 3.1415f / 128, 64), 64);  // obstacles: a ring of 256
}

TEST_F(VehicleContacts, AWallSendsTheVehicleBackAtHalfSpeedForThreeEighthsOfItsEnergy) {
  placeVehicle(g, 0, 500, 100, 0, 0);
  placeWall(g, 0, 400, 300, 15);         // centre (415, 315)
  placeVehicle(g, 1, 340, 304, 100, 0);  // centre y 315: straight at the centre
  thickArmour(g);
  const float armour = s.armourLeft[1], mass = s.totalMass[1];
  ASSERT_GT(tickUntilTurned(g, 1), 0);
  EXPECT_FLOAT_EQ(s.velX[1], -50);
  EXPECT_EQ(s.velY[1], 0);
  EXPECT_NEAR(armour - s.armourLeft[1], 0.375 * mass * 100 * 100, 8);
  EXPECT_EQ(s.lastContact[1], 11);
  EXPECT_TRUE(g.sounds.size() == 0);  // vehicles knock silently on walls

  // Pressed back against the same wall: not handled again while in touch.
  const float after = s.armourLeft[1];
  s.velX[1] = 100;
  tick(g);
  EXPECT_EQ(s.armourLeft[1], after);
  // Once a probe finds nothing, the wall counts again.
  placeVehicle(g, 1, 100, 100, 0, 0);
  tick(g);
  EXPECT_EQ(s.lastContact[1], kNoContact);
}

TEST_F(VehicleContacts, AGlancingContactCostsAlmostNothing) {
  placeVehicle(g, 0, 500, 100, 0, 0);
  // Sliding down past the round base of player 0 (centre (774, 288)) so
  // that only the probe point beside the vehicle grazes it: the line of
  // centres is then nearly perpendicular to the motion.
  placeVehicle(g, 1, 734, 200, 0, 100);
  thickArmour(g);
  const float armour = s.armourLeft[1];
  for (int n = 0; n < 60; ++n) tick(g);
  const double headOn = 0.375 * s.totalMass[1] * 100 * 100;
  EXPECT_LT(armour - s.armourLeft[1], 0.05 * headOn);
  EXPECT_GT(s.velY[1], 95);
}

TEST_F(VehicleContacts, TheOwnBaseLetsTheVehiclePassTheOtherStopsIt) {
  placeVehicle(g, 0, 500, 100, 0, 0);
  placeVehicle(g, 1, 60, 278, -100, 0);  // over its own base to the edge
  thickArmour(g);
  const float armour = s.armourLeft[1];
  ASSERT_GT(tickUntilTurned(g, 1), 0);
  EXPECT_FLOAT_EQ(s.velX[1], 100);  // the edge, not the base: no loss
  EXPECT_EQ(s.armourLeft[1], armour);

  placeVehicle(g, 1, 700, 277, 100, 0);  // centre y 288: the other base's centre
  ASSERT_GT(tickUntilTurned(g, 1), 0);
  EXPECT_FLOAT_EQ(s.velX[1], -50);
  EXPECT_EQ(s.lastContact[1], 62);
  EXPECT_NEAR(armour - s.armourLeft[1], 0.375 * s.totalMass[1] * 100 * 100, 8);
}

TEST_F(VehicleContacts, HeadOnVehiclesOfEqualMassLeaveAtHalfSpeed) {
  ASSERT_EQ(s.totalMass[0], s.totalMass[1]);
  const float m = s.totalMass[0];
  placeVehicle(g, 1, 300, 300, 50, 0);
  placeVehicle(g, 0, 360, 300, -50, 0);
  thickArmour(g);
  const float a0 = s.armourLeft[0], a1 = s.armourLeft[1];
  ASSERT_GT(tickUntilTurned(g, 1), 0);
  EXPECT_NEAR(s.velX[1], -25, 1e-3);
  EXPECT_NEAR(s.velX[0], 25, 1e-3);
  const double lost = 0.75 * (2 * m * 50.0 * 50.0 / 2);  // 3/4 of the energy before
  EXPECT_NEAR(a0 - s.armourLeft[0], lost, lost * 1e-5);
  EXPECT_NEAR(a1 - s.armourLeft[1], lost, lost * 1e-5);
  ASSERT_GE(g.sounds.size(), 1u);
  EXPECT_EQ(g.sounds[0], Sound::syoutotuon);
}

TEST_F(VehicleContacts, ACollisionThatDestroysBothGivesEachAPoint) {
  s.armourLeft = {10, 10};
  placeVehicle(g, 1, 300, 300, 200, 0);
  placeVehicle(g, 0, 360, 300, -200, 0);
  for (int n = 0; n < 10 && s.points[0] + s.points[1] == 0; ++n) tick(g);
  EXPECT_EQ(s.points[0], 1);
  EXPECT_EQ(s.points[1], 1);
  // Back on the bases, the last one destroyed back in set-up.
  EXPECT_EQ(s.posX[0], s.kitiLeft[0] + 8);
  EXPECT_EQ(s.posX[1], s.kitiLeft[1] + 8);
  EXPECT_EQ(s.settingRow[0], 0);
  EXPECT_EQ(s.settingRow[1], 0);
}

TEST(Obstacles, DriftForThousandsOfTicksConservingEnergy) {
  for (uint32_t seed : {3u, 7u, 11u}) {
    FakeWindowSystem ws;
    Game g = startedGame(ws, seed, false, "11");  // players stay in set-up
    const GameState& s = g.s;
    auto energy = [&] {
      double e = 0;
      for (int t = 0; t <= s.lastObstacle; ++t)
        e += double(s.obstMass[t]) *
             (double(s.obstVX[t]) * s.obstVX[t] + double(s.obstVY[t]) * s.obstVY[t]);
      return e;
    };
    const double e0 = energy();
    int knocks = 0;
    for (int n = 0; n < 4000; ++n) {
      tick(g);
      knocks += static_cast<int>(g.sounds.size());
      g.sounds.clear();
      ASSERT_NEAR(energy(), e0, e0 * 1e-3) << seed << " tick " << n;
    }
    EXPECT_GT(knocks, 20);  // they did bounce
  }
}

}  // namespace
}  // namespace zelkar
