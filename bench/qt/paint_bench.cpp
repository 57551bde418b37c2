// What the desktop program spends a tick on besides the rules: a recorded
// match played into a real (offscreen) main window, the tick alone and the
// tick with the frame brought up to date, as the window does before each
// paint. The share of a core under X is `scripts/measure`'s to tell; this
// is the part of it that is ours, measured without a display.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "played_match.h"  // tests/qt: a recorded match into a live window
#include "qt/arena_painter.h"

namespace zelkar::qt {
namespace {

enum class Paint { none, changes, whole };

// One whole recorded match per iteration; the figure is per tick.
void playMatch(benchmark::State& state, const char* name, Paint paint) {
  const std::vector<sim::ScriptLine> commands = test::replayHead(name, 1 << 20);
  int64_t ticks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config.txt"));
    GameHost host(GameHost::Options{1, ConfigLocation(config, config), {}});
    host.windowSystem().setMessageBoxFn([](const QString&, const QString&) {});
    QImage whole = makeArenaFrame();
    bool timing = false;  // from the first tick: loading is not a tick's cost
    test::playCommands(host, commands, [&] {
      if (!timing) state.ResumeTiming(), timing = true;
      ++ticks;
      if (paint == Paint::changes) host.mainWindow().renderChanges();
      if (paint == Paint::whole) paintArena(whole, host.game().screen);
    });
    if (!timing) state.ResumeTiming();
  }
  // Seconds a tick, printed with its SI prefix (u for microseconds).
  state.counters["per_tick"] =
      benchmark::Counter(double(ticks), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_WindowMatchTickOnly(benchmark::State& s) { playMatch(s, "fight.zrp", Paint::none); }
void BM_WindowMatchTickAndChanges(benchmark::State& s) {
  playMatch(s, "fight.zrp", Paint::changes);
}
void BM_WindowMatchTickAndWholeRepaint(benchmark::State& s) {
  playMatch(s, "fight.zrp", Paint::whole);
}
BENCHMARK(BM_WindowMatchTickOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WindowMatchTickAndChanges)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WindowMatchTickAndWholeRepaint)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zelkar::qt

int main(int argc, char** argv) {
  // No display needed: the window paints into memory.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
