// The tick runs up to 100 times a second for minutes: it must never touch
// the heap, so that it cannot stall on the allocator or fragment it over a
// long session. The state hash, run after every tick of the determinism
// runs, is held to the same. Counted over busy matches: all 11 obstacles,
// the walls, both vehicles driving and shells in the air; rounds and
// matches end and restart inside the tick too. The computer player, which
// decides before every tick, is held to the same.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "alloc/counting_new.h"
#include "app/state_hash.h"
#include "cpu/player.h"
#include "determinism/match_pair.h"

namespace zelkar::testing {
namespace {

// One game, played by the same key players as the determinism runs.
struct SingleGame {
  FakeWindowSystem ws;
  std::unique_ptr<Game> g;
  const Game& a() const { return *g; }
  void down(int16_t key, int16_t shift = 0) { formKeyDown(*g, ws, key, shift); }
  void up(int16_t key) { formKeyUp(*g, key, 0); }
};

// Seen by the optimiser as used, so that the allocations below are made.
void* volatile keep = nullptr;

TEST(TickAllocations, TheCounterSeesAllocations) {
  alloc::start();
  auto one = std::make_unique<int>(1);
  keep = one.get();
  std::vector<float> many(100);
  keep = many.data();
  EXPECT_EQ(alloc::stop(), 2);
}

TEST(TickAllocations, NoneInBusyMatches) {
  int64_t ticks = 0, allocations = 0, shellTicks = 0, keyAllocations = 0, hashAllocations = 0;
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    SingleGame m;
    m.g = std::make_unique<Game>(startedGame(m.ws, seed, seed % 2 == 0, "11"));
    ASSERT_EQ(m.g->s.lastObstacle, 10);
    ASSERT_GE(m.g->s.lastWall, 9);
    KeyPlayer player(seed % 3 == 0 ? Style::Mash : Style::Combat, seed);
    for (int n = 0; n < 3000; ++n) {
      alloc::start();
      player.play(m);
      keyAllocations += alloc::stop();
      Game& g = *m.g;
      alloc::start();
      timer1Timer(g);
      const int64_t made = alloc::stop();
      allocations += made;
      ++ticks;
      if (made > 0)
        ADD_FAILURE() << "seed " << seed << " tick " << n << ": " << made
                      << " allocations (run with ZELKAR_ALLOC_BACKTRACE=1)";
      alloc::start();
      stateHash(g);
      hashAllocations += alloc::stop();
      for (int p = 0; p < 2; ++p)
        for (int k = 0; k < kShellSlots; ++k) shellTicks += g.s.shellState[p][k] != 0;
      // Outside the count: answering the replay question and starting anew.
      if (g.awaitingAnswer) {
        g.screen.han.caption = "y";
        hanChange(g, m.ws);
      }
      if (g.screen.Picture2.visible) gameClick(g, m.ws);
      if (HasFailure()) return;
    }
  }
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(hashAllocations, 0);  // the determinism runs hash after every tick
  std::printf("%lld ticks; the key handlers made %lld allocations\n", static_cast<long long>(ticks),
              static_cast<long long>(keyAllocations));
  EXPECT_GT(shellTicks, ticks);  // more than one shell in the air on average
  RecordProperty("ticks", static_cast<int>(ticks));
}

// Over computer matches with all obstacles.
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
        for (const cpu::KeyEvent& e : keys)
          e.down ? formKeyDown(*g, ws, e.keyCode, 0) : formKeyUp(*g, e.keyCode, 0);
      }
      timer1Timer(*g);
    }
  }
  EXPECT_EQ(allocations, 0);
  EXPECT_GT(decisions, 6000);
}

}  // namespace
}  // namespace zelkar::testing
