// What a probe pair names: one sample free and the other showing a wall is
// the wall, whichever sample it is; two samples showing different objects
// name the one at the current position. Which sample a vehicle or an
// obstacle reads first is held by the golden replays.
#include <gtest/gtest.h>

#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

constexpr int16_t kWall0 = 11;  // colour code of wall 0

// Covers client pixel (x, y) with wall w, a 20 px square centred on it.
void wallOver(Game& g, int w, int x, int y) {
  placeWall(g, w, static_cast<int16_t>(x - 10), static_cast<int16_t>(y - 10), 10);
}

// Shows player o's shell image of slot 0, centred on (x, y), with the slot
// free: a picture in a flying-shell colour (blue byte FF) that stays put.
void shellOver(Game& g, int o, int x, int y) {
  Item& shell = g.screen.houdan[8 * o];
  shell.visible = true;
  shell.move(static_cast<int16_t>(x - g.s.shellHalf), static_cast<int16_t>(y - g.s.shellHalf));
}

TEST(ProbePairs, TheCodeOfTheSampleThatShowsSomething) {
  const int32_t base = 0xFFFFE8;
  EXPECT_EQ(pairCode(0x80FF80, 0x0BFF00, base), 11);  // background + wall 0
  EXPECT_EQ(pairCode(0x0BFF00, 0xFEFEFE, base), 11);  // wall 0 + panel (not base 0)
  EXPECT_EQ(pairCode(0xFFFFFB, 0x4B00FF, base), 11);  // shell + wall 0 (not base 1)
  EXPECT_EQ(pairCode(0x0B0000, 0x0C0000, base), 11);  // walls 0 and 1: not wall 4 (11 Or 12 = 15)
  EXPECT_EQ(pairCode(0x0C0000, 0x0B0000, base), 12);
  EXPECT_EQ(pairCode(0x360000, 0x360000, base), 54);  // both show blast 8
}

// An obstacle at rest probes first from ring point 0 (top, current place)
// and 128 (bottom, previous place).
TEST(ProbePairs, AnObstacleBetweenAWallAndAShellMeetsTheWall) {
  for (int o = 0; o < 2; ++o) {
    for (bool wallAbove : {true, false}) {
      SCOPED_TRACE(::testing::Message() << "shell of " << o << " wall above " << wallAbove);
      InBattle b;
      auto& [ws, g, s] = b;
      placeVehicle(g, 0, 650, 100, 0, 0);
      placeVehicle(g, 1, 100, 100, 0, 0);
      placeObstacle(g, 0, 400, 400, 0, 0);
      const int topX = 400 + s.tables().obstRingDX[0][0], topY = 400 + s.tables().obstRingDY[0][0];
      const int botX = 400 + s.tables().obstRingDX[0][128],
                botY = 400 + s.tables().obstRingDY[0][128];
      if (wallAbove) {
        wallOver(g, 0, topX, topY - 6);
        shellOver(g, o, botX, botY);
      } else {
        shellOver(g, o, topX, topY);
        wallOver(g, 0, botX, botY + 6);
      }
      ASSERT_EQ(colourCode(colourAt(g, wallAbove ? topX : botX, wallAbove ? topY : botY)), kWall0);
      tick(g);
      EXPECT_EQ(s.obstLastContact[0], kWall0) << "not base 1 (code 63)";
      ASSERT_EQ(g.sounds.size(), 1u);  // the knock of a wall
      EXPECT_EQ(g.sounds[0], Sound::syoutotuon);
      EXPECT_EQ(s.obstVX[0], 0);
      EXPECT_EQ(s.obstVY[0], 0);
    }
  }
}

}  // namespace
}  // namespace zelkar
