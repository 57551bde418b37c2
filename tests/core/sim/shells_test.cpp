#include <gtest/gtest.h>

#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

class Shells : public ::testing::Test, protected InBattle {};

// A blast's shrinking, its place and the freeing of its slot, and two
// shells meeting head-on both bursting, are held by the golden replays
// (heavy_shells and every fight).

TEST_F(Shells, AShellAtTheFieldsEdgeIsInsideOnePixelBeyondBursts) {
  // Player 0's shell: off the field its probe reads FFFFFF, its own colour,
  // so only the edge test can burst it.
  s.shellState[0][0] = 1;
  s.shellX[0][0] = 786;  // reaches 789 = 793 - 4 exactly
  s.shellY[0][0] = 100;
  s.shellVX[0][0] = 100, s.shellVY[0][0] = 0;
  tick(g);
  EXPECT_EQ(s.shellX[0][0], 789);
  EXPECT_EQ(s.shellState[0][0], 1);
  tick(g);
  EXPECT_EQ(s.shellState[0][0], s.blastStart[0]);
  ASSERT_EQ(g.sounds.size(), 1u);
  EXPECT_EQ(g.sounds[0], Sound::bakuhatuon1);
}

TEST_F(Shells, ADirectHitTakesShellEnergyAndPushesTheVehicle) {
  placeVehicle(g, 0, 300, 278, 0, 0);        // standing, off its base
  s.armourFull[0] = s.armourLeft[0] = 1e8f;  // thick enough to survive the hit
  formKeyDown(g, ws, kLeftFire, 0);
  const float armour = s.armourLeft[0];
  float speed2 = 0;
  for (int n = 0; n < 600 && s.armourLeft[0] == armour; ++n) {
    speed2 = s.shellVX[1][0] * s.shellVX[1][0] + s.shellVY[1][0] * s.shellVY[1][0];
    tick(g);
  }
  EXPECT_NEAR(armour - s.armourLeft[0], 10 * (speed2 / 2 + 3100800.0), 10);
  EXPECT_GT(s.velX[0], 0);  // pushed away from the shell
  EXPECT_NEAR(s.velY[0], 0, 1e-3);
  EXPECT_EQ(s.lastContact[0], 8 + 0);
  EXPECT_NE(g.screen.hyosuu[12].caption, "0");
}

TEST_F(Shells, AVehicleOnItsBaseIsNotShieldedByIt) {
  s.armourFull[0] = s.armourLeft[0] = 1e8f;
  formKeyDown(g, ws, kLeftFire, 0);  // straight along the line between the two bases
  const float armour = s.armourLeft[0];
  for (int n = 0; n < 1500 && s.armourLeft[0] == armour; ++n) tick(g);
  EXPECT_LT(s.armourLeft[0], armour - 3.1e7f);  // a direct hit, not a blast
}

TEST_F(Shells, ADestroyingHitScoresAndRestartsTheRound) {
  placeVehicle(g, 0, 300, 278, 0, 0);
  s.armourLeft[0] = 1000;
  formKeyDown(g, ws, kLeftFire, 0);
  for (int n = 0; n < 600 && s.points[1] == 0; ++n) tick(g);
  EXPECT_EQ(s.points[1], 1);
  EXPECT_EQ(g.screen.tokuten[1].caption, "01");
  // The destroyed player is back in set-up, both on their bases.
  EXPECT_EQ(s.settingRow, (Arr<int16_t, 2>{0, kRowInBattle}));
  EXPECT_TRUE(g.screen.settei[0].visible);
  for (int p = 0; p < 2; ++p) EXPECT_EQ(s.posY[p], s.kitiTop[p] + 8);
  EXPECT_TRUE(heard(g, Sound::bakuhatuon2));
}

}  // namespace
}  // namespace zelkar
