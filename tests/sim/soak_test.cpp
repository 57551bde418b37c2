// Many seeded matches with random keys for both players: after every tick
// nothing is NaN or infinite, every body is in the arena (or within one
// step of its edge), shell slots and points stay in range.
#include <gtest/gtest.h>

#include <cmath>

#include "support/fake_window_system.h"

namespace zelkar {
namespace {

using testing::FakeWindowSystem;

constexpr int16_t kKeys[16] = {65,  68,  87,  83,  88, 90, 67, 81,    // left player
                               100, 102, 104, 101, 98, 97, 99, 105};  // right, keypad

template <std::size_t N>
bool allFinite(const std::array<float, N>& a) {
  for (float v : a)
    if (!std::isfinite(v)) return false;
  return true;
}

void checkInvariants(const Game& g, uint32_t seed, int tick) {
  const GameState& s = g.s;
  SCOPED_TRACE(::testing::Message() << "seed " << seed << " tick " << tick);
  for (const auto* a : {&s.posX, &s.posY, &s.velX, &s.velY, &s.totalMass, &s.armourLeft,
                        &s.fuelLeft, &s.prevX, &s.prevY})
    ASSERT_TRUE(allFinite(*a));
  for (const auto* a : {&s.obstX, &s.obstY, &s.obstVX, &s.obstVY}) ASSERT_TRUE(allFinite(*a));
  for (int p = 0; p < 2; ++p) {
    ASSERT_TRUE(allFinite(s.shellX[p]) && allFinite(s.shellY[p]));
    ASSERT_TRUE(allFinite(s.shellVX[p]) && allFinite(s.shellVY[p]));
    const float step = 0.03f * (std::fabs(s.velX[p]) + std::fabs(s.velY[p])) + 1;
    ASSERT_GE(s.posX[p], -step);
    ASSERT_GE(s.posY[p], -step);
    ASSERT_LE(s.posX[p], s.fieldWidth - s.vehicleSize + step);
    ASSERT_LE(s.posY[p], s.fieldHeight - s.vehicleSize + step);
    ASSERT_GE(s.freeShellSlot[p], 0);
    ASSERT_LE(s.freeShellSlot[p], 5);
    for (int k = 0; k < 5; ++k) {
      ASSERT_GE(s.shellState[p][k], 0);
      ASSERT_LE(s.shellState[p][k], std::max<int>(s.blastStart[p], 1));
    }
    ASSERT_GE(s.points[p], 0);
    ASSERT_LE(s.points[p], 10);
    ASSERT_GE(s.shellsLeft[p], 0);
    ASSERT_GT(s.totalMass[p], 0);
  }
  for (int t = 0; t <= s.lastObstacle; ++t) {
    const float step = 0.03f * (std::fabs(s.obstVX[t]) + std::fabs(s.obstVY[t])) + 1;
    ASSERT_GE(s.obstX[t], -step);
    ASSERT_GE(s.obstY[t], -step);
    ASSERT_LE(s.obstX[t], s.fieldWidth - s.obstSize[t] + step);
    ASSERT_LE(s.obstY[t], s.fieldHeight - s.obstSize[t] + step);
  }
}

TEST(Soak, RandomKeysNeverBreakTheGame) {
  int matchesEnded = 0, points = 0;
  for (uint32_t seed = 1; seed <= 24; ++seed) {
    FakeWindowSystem ws;
    Game g = testing::startedGame(ws, seed, seed % 2 == 0);
    Rng keys(seed * 7919);
    bool held[16] = {};
    for (int n = 0; n < 6000; ++n) {
      // A few key events between ticks; fire and confirm often.
      for (int e = 0; e < 3; ++e) {
        const int i = static_cast<int>(keys.next() * 16);
        const bool fireKey = kKeys[i] == 88 || kKeys[i] == 98;
        if (!held[i] || fireKey) {
          formKeyDown(g, ws, kKeys[i], 0);
          held[i] = true;
        } else if (keys.next() < 0.3f) {
          formKeyUp(g, kKeys[i], 0);
          held[i] = false;
        }
      }
      timer1Timer(g);
      checkInvariants(g, seed, n);
      if (::testing::Test::HasFatalFailure()) return;
      if (g.awaitingAnswer) {
        ++matchesEnded;
        g.screen.han.caption = "y";
        hanChange(g, ws);
        gameClick(g, ws);
      }
    }
    points += g.s.points[0] + g.s.points[1];
  }
  EXPECT_GT(points, 0);  // the matches were fights, not idle arenas
  RecordProperty("matchesEnded", matchesEnded);
}

}  // namespace
}  // namespace zelkar
