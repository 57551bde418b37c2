// Many seeded matches with random keys for both players: after every tick
// nothing is NaN or infinite, every body is in the arena (or within one
// step of its edge), shell slots and points stay in range.
#include <gtest/gtest.h>

#include "support/fake_window_system.h"
#include "support/invariants.h"

namespace zelkar {
namespace {

using testing::checkInvariants;
using testing::FakeWindowSystem;

constexpr int16_t kKeys[16] = {65,  68,  87,  83,  88, 90, 67, 81,    // left player
                               100, 102, 104, 101, 98, 97, 99, 105};  // right, keypad

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
