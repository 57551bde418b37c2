// What must hold after every tick of any match, whatever the keys: nothing
// is NaN or infinite, every body is in the arena (or within one step of its
// edge), shell slots, points and masses stay in range. Shared by the soak
// and determinism runs; call it, then check HasFatalFailure().
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "app/game.h"

namespace zelkar::testing {

template <std::size_t N>
bool allFinite(const std::array<float, N>& a) {
  for (float v : a)
    if (!std::isfinite(v)) return false;
  return true;
}

// A body of `size` px at (x, y) lies in the field, or within `step` of it.
inline bool inField(const GameState& s, float x, float y, int size, float step) {
  return x >= -step && y >= -step && x <= s.fieldWidth - size + step &&
         y <= s.fieldHeight - size + step;
}

inline void checkInvariants(const Game& g, uint32_t seed, int tick) {
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
    ASSERT_TRUE(inField(s, s.posX[p], s.posY[p], s.vehicleSize, step)) << "vehicle " << p;
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
    ASSERT_TRUE(inField(s, s.obstX[t], s.obstY[t], s.obstSize[t], step)) << "obstacle " << t;
  }
}

}  // namespace zelkar::testing
