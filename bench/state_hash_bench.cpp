// The state hash runs after every tick (replays, hash files, online
// play). Goal: at most 3 us of processor time in a Release build.
#include <benchmark/benchmark.h>

#include "app/state_hash.h"
#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

// A busy match: 11 obstacles, both vehicles in battle with shells flying.
void BM_StateHash(benchmark::State& state) {
  FakeWindowSystem ws;
  Game g = startedGame(ws, 7, true, "11");
  formKeyDown(g, ws, kLeftFire, 0);
  formKeyDown(g, ws, kRightFire, 0);
  tick(g, 100);
  for (auto _ : state) benchmark::DoNotOptimize(stateHash(g));
  state.SetLabel("goal: at most 3 us of processor time");
}
BENCHMARK(BM_StateHash);

}  // namespace
}  // namespace zelkar
