// What the probes cost a tick: one capture and the pixel reads of a busy
// arena (two vehicles, eleven obstacles, ten shells: about 110 reads).
#include <benchmark/benchmark.h>

#include "ui/prepare_sprites.h"
#include "ui/probe_surface.h"

namespace {

struct BusyArena {
  zelkar::ScreenModel m;
  zelkar::GameState s;
  BusyArena() {
    zelkar::prepareSprites(s, m);
    m.Picture2.visible = false;
    for (int i = 0; i < 11; ++i)
      m.tiri[i].visible = true, m.tiri[i].move(int16_t(60 * i), 200, 24, 24);
    for (int i = 0; i < 34; ++i)
      m.kabe[i].visible = true, m.kabe[i].move(int16_t(22 * i), 400, 20, 20);
    for (int i = 0; i < 10; ++i) m.houdan[i].visible = true, m.houdan[i].move(int16_t(70 * i), 300);
    for (auto& h : m.hyo1) h.visible = true;
    for (auto& h : m.hyosuu) h.visible = true;
    for (auto& k : m.kiti) k.visible = true;
    for (auto& k : m.kyara) k.visible = true;
  }
};

void BM_ProbeTick(benchmark::State& state) {
  BusyArena a;
  zelkar::ProbeSurface probe;
  for (auto _ : state) {
    probe.capture(a.m);
    int32_t sum = 0;
    for (int i = 0; i < 110; ++i)
      sum += probe.getPixel(a.m.pictures, (i * 97) % 793, (i * 61) % 579);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ProbeTick);

}  // namespace
