#include <gtest/gtest.h>

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

class VehicleContacts : public ::testing::Test, protected InBattle {};

// Where the probe starts, a wall's bounce, its cost and its being handled
// once while in touch are held by the golden replays, as are the obstacles'
// lossless bounces; a glancing bounce by two_disc_test.cpp.

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
  EXPECT_EQ(g.sounds.size(), 0u);  // vehicles knock silently on fixed bodies
}

// The armour both lose (3/4 of the energy before), and both destroyed
// scoring a point each, are held by the golden replays (ramming,
// walls_and_bases); the knock is heard only here.
TEST_F(VehicleContacts, HeadOnVehiclesOfEqualMassLeaveAtHalfSpeed) {
  ASSERT_EQ(s.totalMass[0], s.totalMass[1]);
  placeVehicle(g, 1, 300, 300, 50, 0);
  placeVehicle(g, 0, 360, 300, -50, 0);
  thickArmour(g);
  ASSERT_GT(tickUntilTurned(g, 1), 0);
  EXPECT_NEAR(s.velX[1], -25, 1e-3);
  EXPECT_NEAR(s.velX[0], 25, 1e-3);
  ASSERT_GE(g.sounds.size(), 1u);
  EXPECT_EQ(g.sounds[0], Sound::syoutotuon);
}

}  // namespace
}  // namespace zelkar
