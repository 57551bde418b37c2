// The computer player decides before every tick: like the tick, it must
// never touch the heap. Counted over computer matches with all obstacles.
#include <gtest/gtest.h>

#include <memory>

#include "alloc/counting_new.h"
#include "cpu/player.h"
#include "determinism/match_pair.h"

namespace zelkar::testing {
namespace {

TEST(CpuAllocations, NoneWhileDeciding) {
  int64_t decisions = 0, allocations = 0;
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    FakeWindowSystem ws;
    auto g = std::make_unique<Game>(startedGame(ws, seed, seed % 2 == 0, "11"));
    cpu::Player players[2] = {cpu::Player(0, 3, seed),
                              cpu::Player(1, static_cast<int>(seed), seed)};
    for (int n = 0; n < 3000 && !g->awaitingAnswer; ++n) {
      for (cpu::Player& cpu : players) {
        alloc::start();
        const cpu::KeyEvents keys = cpu.decide(*g);
        allocations += alloc::stop();
        ++decisions;
        for (const cpu::KeyEvent& e : keys) {
          if (e.down)
            formKeyDown(*g, ws, e.keyCode, 0);
          else
            formKeyUp(*g, e.keyCode, 0);
        }
      }
      timer1Timer(*g);
    }
  }
  EXPECT_EQ(allocations, 0);
  EXPECT_GT(decisions, 6000);
}

}  // namespace
}  // namespace zelkar::testing
