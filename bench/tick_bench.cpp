#include <benchmark/benchmark.h>

#include "arena/rng.h"

static void BM_Rng(benchmark::State& state) {
  zelkar::Rng rng(7);
  for (auto _ : state) benchmark::DoNotOptimize(rng.next());
}
BENCHMARK(BM_Rng);
