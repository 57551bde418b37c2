// The strength a body feels from a shell's blast, worked out by hand. A
// fresh blast's armour share and push are held by the golden replays.
//
// Blast start sizes, Int((m / 37)^(1/3) x 10) + 2 for the 10 px blast image:
//   m = 5:  (0.1351)^(1/3) = 0.513 -> 5 + 2 = 7;  drawn at 7, then gone
//   m = 10: (0.2703)^(1/3) = 0.647 -> 6 + 2 = 8;  drawn at 8, 5, 2
//   m = 30: (0.8108)^(1/3) = 0.932 -> 9 + 2 = 11; drawn at 11, 8, 5, 2
// A blast drawn at size s is felt with the state s - 3 it left its slot at.
//
// A blast left on the arena while its owner is back in set-up stays frozen
// at the size it had; if the owner then confirms 5 kg shells (start 7), the
// 30 kg blast drawn at 11 and frozen at 8 is still felt as 8/27 of 30 kg,
// where the new settings would give (6/5)^3 = 1.728 and 5 kg.
#include <gtest/gtest.h>

#include <cmath>

#include "input/player_actions.h"
#include "sim/blasts_seen.h"
#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

struct Shell {
  float mass;     // kg
  int16_t start;  // blast start size, px (above)
  double felt;    // ((S - 3 - 2) / (S - 2))^3, by hand
};
// m = 5: (2/5)^3; m = 10: (3/6)^3 = 1/8; m = 30: (6/9)^3 = 8/27.
constexpr Shell kShells[] = {{5, 7, 0.064}, {10, 8, 0.125}, {30, 11, 8.0 / 27.0}};

constexpr float kDefaultMass = 8558.6f;    // 622 x 10 + 10 x 100 + 200 x 0.4193 x 10 + 50 x 10
constexpr float kDefaultArmour = 1840000;  // 10^2 x 18400

int16_t blastCode(int owner, int slot) { return static_cast<int16_t>(46 + 8 * owner + slot); }

// Puts an exploding shell of `owner` in slot 2 with its centre at (cx, cy):
// the owner's next step draws its blast there at the start size.
void burstAt(Game& g, int owner, const Shell& shell, float cx, float cy) {
  GameState& s = g.s;
  s.setting[owner][4] = shell.mass;
  s.blastStart[owner] = shell.start;
  s.shellState[owner][2] = shell.start;
  s.shellX[owner][2] = cx - s.shellHalf;
  s.shellY[owner][2] = cy - s.shellHalf;
}

TEST(BlastStrength, TheSeenStateFollowsThePictureNotTheSlot) {
  InBattle b;
  auto& [ws, g, s] = b;
  burstAt(g, 1, kShells[2], 200, 200);  // 30 kg, start 11
  g.blasts.state = {};
  EXPECT_FALSE(seenBlastCube(g, 1, 2)) << "nothing drawn yet";
  tick(g);
  EXPECT_EQ(s.shellState[1][2], 8);
  EXPECT_FALSE(seenBlastCube(g, 1, 2)) << "the capture came before the drawing";
  tick(g);  // captured: picture 11 with state 8; the slot is now at 5
  EXPECT_EQ(s.shellState[1][2], 5);
  ASSERT_TRUE(seenBlastCube(g, 1, 2));
  EXPECT_DOUBLE_EQ(*seenBlastCube(g, 1, 2), 8.0 / 27.0);
  tick(g, 2);  // picture 5 with state 2, its last: felt, but at no strength
  EXPECT_EQ(s.shellState[1][2], 0);
  EXPECT_EQ(seenBlastCube(g, 1, 2), std::optional<double>(0));
  tick(g);
  EXPECT_FALSE(seenBlastCube(g, 1, 2)) << "the picture is gone";
  // A picture left up over a slot no longer exploding (state 0, below 2,
  // as after a stopped match) has no blast to give, not a negative one;
  // nor has an owner without a start size above 2.
  g.blasts.state[8 + 2] = 0;
  g.blasts.start[8 + 2] = 11;
  EXPECT_FALSE(seenBlastCube(g, 1, 2));
  g.blasts.state[8 + 2] = 5;
  g.blasts.start[8 + 2] = 2;
  EXPECT_FALSE(seenBlastCube(g, 1, 2));
}

// The owner's 30 kg blast in slot 2 is drawn centred at (298, 311), the
// owner goes back to set-up for a few ticks, then confirms 5 kg shells.
Game frozenThenReconfirmed(FakeWindowSystem& ws, int owner) {
  Game g = battleGame(ws);
  GameState& s = g.s;
  placeVehicle(g, owner, 100, 500, 0, 0);
  placeVehicle(g, 1 - owner, 600, 100, 0, 0);
  burstAt(g, owner, kShells[2], 298, 311);
  tick(g);  // drawn at 11, the slot at 8
  s.settingRow[owner] = 0;
  tick(g, 3);
  EXPECT_EQ(s.shellState[owner][2], 8) << "frozen while its owner is in set-up";
  s.setting[owner][4] = kShells[0].mass;
  confirmSettings(g, owner);
  EXPECT_EQ(s.blastStart[owner], kShells[0].start);
  return g;
}

// A vehicle and an obstacle each feel the frozen 30 kg blast at its drawn
// strength (8/27), one owner's as the other's.
TEST(FrozenBlast, ItIsFeltWithTheStrengthItWasDrawnWith) {
  const Shell& shell = kShells[2];
  for (int owner = 0; owner < 2; ++owner) {
    SCOPED_TRACE(owner);
    FakeWindowSystem ws, ws2;
    Game g = frozenThenReconfirmed(ws, owner), o = frozenThenReconfirmed(ws2, owner);
    GameState& s = g.s;
    const int victim = 1 - owner;
    // Standing at (300, 300), its probe reads the point left of its centre
    // (311, 311) at (298, 311): the blast's centre.
    placeVehicle(g, victim, 300, 300, 0, 0);
    ASSERT_EQ(s.totalMass[victim], kDefaultMass);
    ASSERT_EQ(s.armourLeft[victim], kDefaultArmour);
    tick(g);
    ASSERT_EQ(s.lastContact[victim], blastCode(owner, 2));
    const double coef = static_cast<float>(shell.felt / 600);
    const double lost = shell.mass * 0.8 * coef * 3876000;
    EXPECT_EQ(s.armourLeft[victim], static_cast<float>(kDefaultArmour - lost));
    // At rest, pushed with 0.2 of that energy.
    const double push = static_cast<float>(coef * 0.2);
    const double speed = std::sqrt(2 * shell.mass * push * 3876000 / kDefaultMass);
    EXPECT_NEAR(std::hypot(double(s.velX[victim]), double(s.velY[victim])), speed, speed * 1e-6);

    // Obstacle 0 at rest with its leftmost probe point (ring index 192) on
    // the blast's centre, pushed with half the blast.
    const MatchTables& tab = o.s.tables();
    placeObstacle(o, 0, 298.0f - tab.obstRingDX[0][192], 311.0f - tab.obstRingDY[0][192], 0, 0);
    tick(o);
    ASSERT_EQ(o.s.obstLastContact[0], blastCode(owner, 2));
    const double half = static_cast<float>(shell.felt * 0.5 / 600);
    const double obstSpeed = std::sqrt(2 * shell.mass * half * 3876000 / o.s.obstMass[0]);
    EXPECT_NEAR(std::hypot(double(o.s.obstVX[0]), double(o.s.obstVY[0])), obstSpeed,
                obstSpeed * 1e-6);
  }
}

}  // namespace
}  // namespace zelkar
