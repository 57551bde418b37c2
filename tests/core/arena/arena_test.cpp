#include "arena/arena.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/fake_window_system.h"

namespace zelkar {
namespace {

using testing::FakeWindowSystem;
using testing::loadedGame;

// The state that makes the generator's next draw return `value`: the
// generator is a bijection modulo 2^24, so every draw can be arranged.
uint32_t stateBefore(float value) {
  const uint32_t target = static_cast<uint32_t>(value * 16777216.0f) & 0xFFFFFF;
  uint32_t inverse = 1;  // of 0x43FD43FD modulo 2^24, by Newton's iteration
  for (int i = 0; i < 5; ++i) inverse *= 2 - 0x43FD43FDu * inverse;
  return ((target - 0xC39EC3u) * inverse) & 0xFFFFFF;
}

int drawsBetween(uint32_t from, uint32_t to) {
  Rng r(from);
  for (int n = 0; n < 100000; ++n) {
    if (r.state() == to) return n;
    r.next();
  }
  return -1;
}

TEST(Arena, KitaisyokiPutsBothVehiclesOnTheirBases) {
  FakeWindowSystem ws;
  Game g = loadedGame(ws);
  GameState& s = g.s;
  s.velX = {5, -3};
  s.thrustY = {1, -1};
  s.shellState[0] = {1, 2, 3, 4, 5, 6, 7, 8};
  s.lastContact = {3, 4};
  s.armourLeft = {123, 456};
  kitaisyoki(s);
  for (int p = 0; p < 2; ++p) {
    EXPECT_EQ(s.posX[p], s.kitiLeft[p] + 8);
    EXPECT_EQ(s.posY[p], s.kitiTop[p] + 8);
    EXPECT_EQ(s.prevX[p], s.posX[p]);
    EXPECT_EQ(s.velX[p], 0);
    EXPECT_EQ(s.thrustY[p], 0);
    EXPECT_EQ(s.freeShellSlot[p], 0);
    EXPECT_EQ(s.lastContact[p], kNoContact);
  }
  EXPECT_EQ(s.gunDir[0], 32);
  EXPECT_EQ(s.gunDir[1], 0);
  EXPECT_EQ(s.shellState[0][4], 0);
  EXPECT_EQ(s.shellState[0][5], 6);  // columns 5..7 belong to no slot
  EXPECT_EQ(s.armourLeft[1], 456);   // armour, fuel and shells stay
}

TEST(Arena, OneObstacleTakesSevenDrawsWhenNothingIsRedrawn) {
  FakeWindowSystem ws;
  for (uint32_t seed : {1u, 7u, 99u, 12345u}) {
    Game g = loadedGame(ws, seed);
    g.s.lastObstacle = 0;
    const uint32_t before = g.rng.state();
    tirisyoki(g);
    const int draws = drawsBetween(before, g.rng.state());
    // 2 per position attempt, 4 per velocity attempt, 1 for the size.
    EXPECT_EQ((draws - 1) % 2, 0) << seed;
    EXPECT_GE(draws, 7);
  }
}

TEST(Arena, ObstaclesKeepClearMoveAndHaveTheirRing) {
  FakeWindowSystem ws;
  for (uint32_t seed = 1; seed < 60; ++seed) {
    Game g = loadedGame(ws, seed);
    GameState& s = g.s;
    s.lastObstacle = 10;
    tirisyoki(g);
    for (int i = 0; i <= 10; ++i) {
      for (int p = 0; p < 2; ++p) {
        const float dx = s.obstX[i] - s.kitiLeft[p] - 8, dy = s.obstY[i] - s.kitiTop[p] - 8;
        EXPECT_GE(dx * dx + dy * dy, 5100);
      }
      EXPECT_TRUE(s.obstVX[i] != 0 || s.obstVY[i] != 0);
      EXPECT_LE(std::fabs(s.obstVX[i]), 20);
      EXPECT_EQ(s.obstVX[i], std::floor(s.obstVX[i]));
      EXPECT_GE(s.obstSize[i], 12);
      EXPECT_LE(s.obstSize[i], 30);
      EXPECT_EQ(s.obstHalf[i], s.obstSize[i] / 2);
      EXPECT_EQ(s.obstMass[i], std::pow(s.obstSize[i], 3) * 100);
      EXPECT_EQ(g.screen.tiri[i].width, s.obstSize[i]);
      EXPECT_EQ(s.obstLastContact[i], kNoContact);
      EXPECT_EQ(s.obstPrevX[i], s.obstX[i]);
      // Every ring point lies outside the obstacle, corrected at most once.
      const int h = s.obstHalf[i];
      for (int k = 0; k < 256; k += 17) {
        const int dx2 = s.tables().obstRingDX[i][k] - h, dy2 = s.tables().obstRingDY[i][k] - h;
        EXPECT_GE(dx2 * dx2 + dy2 * dy2, h * h) << i << " " << k;
        EXPECT_LE(dx2 * dx2 + dy2 * dy2, (h + 4) * (h + 4));
      }
    }
  }
}

TEST(Arena, ObstacleRingStartsAboveTheCentreAndRunsClockwise) {
  FakeWindowSystem ws;
  Game g = loadedGame(ws);
  g.s.lastObstacle = 0;
  tirisyoki(g);
  const GameState& s = g.s;
  const int h = s.obstHalf[0];
  EXPECT_EQ(s.tables().obstRingDX[0][0], h);
  EXPECT_LT(s.tables().obstRingDY[0][0], 0);
  EXPECT_GT(s.tables().obstRingDX[0][64], 2 * h);   // right
  EXPECT_GT(s.tables().obstRingDY[0][128], 2 * h);  // below
  EXPECT_LT(s.tables().obstRingDX[0][192], 0);      // left
}

TEST(Arena, WallsKeepClearOfTheStartsAndStayInTheField) {
  FakeWindowSystem ws;
  for (uint32_t seed = 1; seed < 60; ++seed) {
    Game g = loadedGame(ws, seed);
    GameState& s = g.s;
    kabesyoki(g);
    EXPECT_GE(s.lastWall, 9);
    EXPECT_LE(s.lastWall, 33);
    for (int i = 0; i <= s.lastWall; ++i) {
      EXPECT_GE(s.kabeLeft[i], 0);
      EXPECT_LT(s.kabeLeft[i], s.fieldWidth);
      EXPECT_LT(s.kabeTop[i], s.fieldHeight);
      EXPECT_GE(s.kabeHalf[i], 8);
      EXPECT_LE(s.kabeHalf[i], 15);
      for (int p = 0; p < 2; ++p) {
        const int dx = s.kabeLeft[i] - s.kitiLeft[p] - 8, dy = s.kabeTop[i] - s.kitiTop[p] - 8;
        EXPECT_GE(dx * dx + dy * dy, 5100);
      }
      const Item& image = g.screen.kabe[i];
      EXPECT_EQ(image.left, s.kabeLeft[i]);
      EXPECT_EQ(image.width, 2 * s.kabeHalf[i]);
    }
  }
}

TEST(Arena, DrawsJustBelowOneGiveTheLargestWallCount) {
  FakeWindowSystem ws;
  Game g = loadedGame(ws);
  g.rng.seed(stateBefore(std::nextafter(1.0f, 0.0f)));
  kabesyoki(g);
  EXPECT_EQ(g.s.lastWall, 33);
}

}  // namespace
}  // namespace zelkar
