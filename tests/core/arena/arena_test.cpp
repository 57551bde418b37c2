#include "arena/arena.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/fake_window_system.h"

namespace zelkar {
namespace {

using testing::FakeWindowSystem;
using testing::loadedGame;

// The arena of ordinary draws is held by the golden replays: every start,
// wall and obstacle, with its ring, is in the state hash of every tick.
// Here, the extreme draw no recorded match makes.

// The state that makes the generator's next draw return `value`: the
// generator is a bijection modulo 2^24, so every draw can be arranged.
uint32_t stateBefore(float value) {
  const uint32_t target = static_cast<uint32_t>(value * 16777216.0f) & 0xFFFFFF;
  uint32_t inverse = 1;  // of 0x43FD43FD modulo 2^24, by Newton's iteration
  for (int i = 0; i < 5; ++i) inverse *= 2 - 0x43FD43FDu * inverse;
  return ((target - 0xC39EC3u) * inverse) & 0xFFFFFF;
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
