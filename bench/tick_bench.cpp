// The cost of one tick: a single vehicle on an empty arena, a quiet arena
// of drifting obstacles, and the worst case the game allows (11 obstacles,
// 34 walls, both vehicles moving, both players keeping five shells flying).
#include <benchmark/benchmark.h>

#include "sim/vehicle_step.h"
#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

void BM_OneVehicleTick(benchmark::State& state) {
  FakeWindowSystem ws;
  Game g = startedGame(ws, 7);
  emptyArena(g);
  formKeyDown(g, ws, kLeftFire, 0);
  for (auto _ : state) {
    g.s.fuelLeft[1] = 1000;
    g.s.thrustX[1] = g.s.posX[1] < 400 ? 1.0f : -1.0f;
    timer1Timer(g);
    g.sounds.clear();
  }
}
BENCHMARK(BM_OneVehicleTick);

// The vehicle's own dynamics without the arena's probes: B1 to B5, B10, B11.
void BM_VehicleDynamics(benchmark::State& state) {
  FakeWindowSystem ws;
  Game g = startedGame(ws, 7, true);
  emptyArena(g);
  formKeyDown(g, ws, kLeftFire, 0);
  for (auto _ : state) {
    GameState& s = g.s;
    s.fuelLeft[1] = 1000;
    s.thrustX[1] = s.posX[1] < 400 ? 1.0f : -1.0f;
    Drive d;
    burnFuel(g, 1, d);
    applyFriction(s, 1, d);
    accelerate(s, 1, d);
    moveInField(s, 1);
    placeSprite(g, 1);
    turnGun(g, 1);
  }
}
BENCHMARK(BM_VehicleDynamics);

void BM_QuietArenaTick(benchmark::State& state) {
  FakeWindowSystem ws;
  Game g = startedGame(ws, 7, false, "11");  // players stay in set-up
  for (auto _ : state) {
    timer1Timer(g);
    g.sounds.clear();
  }
}
BENCHMARK(BM_QuietArenaTick);

void BM_WorstCaseTick(benchmark::State& state) {
  FakeWindowSystem ws;
  Game g = startedGame(ws, 7, true, "11");
  // 34 walls spread over the arena, clear of the bases.
  Rng place(99);
  g.s.lastWall = 33;
  for (int w = 0; w <= 33; ++w) {
    const auto x = static_cast<int16_t>(80 + place.next() * 600);
    const auto y = static_cast<int16_t>(place.next() * 540);
    placeWall(g, w, x, y, static_cast<int16_t>(8 + place.next() * 8));
  }
  formKeyDown(g, ws, kLeftFire, 0);
  formKeyDown(g, ws, kRightFire, 0);
  const Arr<float, 2> mass = g.s.totalMass;
  for (auto _ : state) {
    GameState& s = g.s;
    s.armourLeft = {3e38f, 3e38f};  // nobody is destroyed: the round goes on
    s.shellsLeft = {100, 100};
    s.totalMass = mass;
    s.fuelLeft = {1000, 1000};
    s.thrustX = {s.posX[0] < 400 ? 1.0f : -1.0f, s.posX[1] < 400 ? 1.0f : -1.0f};
    s.thrustY = {s.posY[0] < 290 ? 1.0f : -1.0f, s.posY[1] < 290 ? 1.0f : -1.0f};
    s.turnDir = {1, -1};
    formKeyDown(g, ws, kLeftFire, 0);
    formKeyDown(g, ws, kRightFire, 0);
    timer1Timer(g);
    g.sounds.clear();
    if (g.awaitingAnswer) state.SkipWithError("the match ended");
  }
  state.SetLabel("goal: at most 3 us of processor time");
}
BENCHMARK(BM_WorstCaseTick);

}  // namespace
}  // namespace zelkar
