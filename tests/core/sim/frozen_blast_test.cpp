// A blast left on the arena while its owner is back in set-up stays frozen
// at the size it had; if the owner then confirms another shell mass, the
// blast is still felt with the start size and mass it was drawn with.
//
// By hand: a 30 kg shell bursts at Int((30/37)^(1/3) x 10) + 2 = 11 px and
// is drawn at 11, leaving its slot at 8; a 5 kg shell would start at
// Int((5/37)^(1/3) x 10) + 2 = 7. Felt at 8: ((8 - 2)/(11 - 2))^3 = 8/27,
// where the new settings would give (6/5)^3 = 1.728 and 5 kg.
#include <gtest/gtest.h>

#include <cmath>

#include "input/player_actions.h"
#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

constexpr float kDrawnMass = 30, kNewMass = 5;      // kg
constexpr int16_t kDrawnStart = 11, kNewStart = 7;  // px
constexpr double kFelt = 8.0 / 27.0;                // ((8 - 2) / (11 - 2))^3
constexpr float kDefaultMass = 8558.6f;             // the victim's, kg
constexpr float kDefaultArmour = 1840000;           // 10^2 x 18400

// The owner's 30 kg blast in slot 2 is drawn centred at (298, 311), the
// owner goes back to set-up for a few ticks, then confirms 5 kg shells.
Game frozenThenReconfirmed(FakeWindowSystem& ws, int owner) {
  Game g = battleGame(ws);
  GameState& s = g.s;
  placeVehicle(g, owner, 100, 500, 0, 0);
  placeVehicle(g, 1 - owner, 600, 100, 0, 0);
  s.setting[owner][4] = kDrawnMass;
  s.blastStart[owner] = kDrawnStart;
  s.shellState[owner][2] = kDrawnStart;
  s.shellX[owner][2] = 298.0f - s.shellHalf;
  s.shellY[owner][2] = 311.0f - s.shellHalf;
  tick(g);  // drawn at 11, the slot at 8
  s.settingRow[owner] = 0;
  tick(g, 3);
  EXPECT_EQ(s.shellState[owner][2], 8) << "frozen while its owner is in set-up";
  s.setting[owner][4] = kNewMass;
  confirmSettings(g, owner);
  EXPECT_EQ(s.blastStart[owner], kNewStart);
  return g;
}

TEST(FrozenBlast, AVehicleFeelsItWithTheStrengthItWasDrawnWith) {
  for (int owner = 0; owner < 2; ++owner) {
    SCOPED_TRACE(owner);
    FakeWindowSystem ws;
    Game g = frozenThenReconfirmed(ws, owner);
    GameState& s = g.s;
    const int victim = 1 - owner;
    // Standing at (300, 300), its probe reads the point left of its centre
    // (311, 311) at (298, 311): the blast's centre.
    placeVehicle(g, victim, 300, 300, 0, 0);
    ASSERT_EQ(s.totalMass[victim], kDefaultMass);
    ASSERT_EQ(s.armourLeft[victim], kDefaultArmour);
    tick(g);
    ASSERT_EQ(s.lastContact[victim], 46 + 8 * owner + 2);
    const double coef = static_cast<float>(kFelt / 600);
    const double lost = kDrawnMass * 0.8 * coef * 3876000;
    EXPECT_EQ(s.armourLeft[victim], static_cast<float>(kDefaultArmour - lost));
    // At rest, pushed with 0.2 of that energy.
    const double push = static_cast<float>(coef * 0.2);
    const double speed = std::sqrt(2 * kDrawnMass * push * 3876000 / kDefaultMass);
    EXPECT_NEAR(std::hypot(double(s.velX[victim]), double(s.velY[victim])), speed, speed * 1e-6);
  }
}

TEST(FrozenBlast, AnObstacleIsPushedWithTheStrengthItWasDrawnWith) {
  for (int owner = 0; owner < 2; ++owner) {
    SCOPED_TRACE(owner);
    FakeWindowSystem ws;
    Game g = frozenThenReconfirmed(ws, owner);
    GameState& s = g.s;
    // Obstacle 0 at rest with its leftmost probe point (ring index 192) on
    // the blast's centre.
    const MatchTables& tab = s.tables();
    placeObstacle(g, 0, 298.0f - tab.obstRingDX[0][192], 311.0f - tab.obstRingDY[0][192], 0, 0);
    tick(g);
    ASSERT_EQ(s.obstLastContact[0], 46 + 8 * owner + 2);
    const double coef = static_cast<float>(kFelt * 0.5 / 600);
    const double speed = std::sqrt(2 * kDrawnMass * coef * 3876000 / s.obstMass[0]);
    EXPECT_NEAR(std::hypot(double(s.obstVX[0]), double(s.obstVY[0])), speed, speed * 1e-6);
  }
}

}  // namespace
}  // namespace zelkar
