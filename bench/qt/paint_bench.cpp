// What the desktop program spends a tick on besides the rules: a recorded
// match played into a real (offscreen) main window, the tick alone and the
// tick with the frame brought up to date, as the window does before each
// paint. The share of a core under X is `scripts/measure`'s to tell; this
// is the part of it that is ours, measured without a display.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <variant>

#include "app/handlers.h"
#include "headless/script.h"
#include "headless/state_dump.h"
#include "qt/arena_painter.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/qt_window_system.h"
#include "qt/replayer.h"

namespace zelkar::qt {
namespace {

std::vector<sim::ScriptLine> replay(const char* name) {
  QFile f(QStringLiteral(ZELKAR_REPLAY_DIR "/") + QString::fromLatin1(name));
  if (!f.open(QIODevice::ReadOnly)) std::abort();
  const QByteArray all = f.readAll();
  sim::ParsedScript parsed = sim::parseScript(std::string_view(all.constData(), all.size()));
  if (parsed.error) std::abort();
  return std::move(parsed.commands);
}

enum class Paint { none, changes, whole };

// One whole recorded match per iteration; the figure is per tick.
void playMatch(benchmark::State& state, const char* name, Paint paint) {
  const std::vector<sim::ScriptLine> commands = replay(name);
  int64_t ticks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config.txt"));
    GameHost host(GameHost::Options{1, ConfigLocation(config, config), {}});
    host.windowSystem().setMessageBoxFn([](const QString&, const QString&) {});
    std::size_t next = 0;
    uint32_t seed = 0;
    for (; next < commands.size(); ++next) {
      const sim::Command& c = commands[next].command;
      if (const auto* s = std::get_if<sim::SeedCommand>(&c))
        seed = s->seed;
      else if (const auto* k = std::get_if<sim::ConfigCommand>(&c))
        host.windowSystem().setFixedSettings(k->values);
      else
        break;
    }
    host.load(seed);
    if (!QTest::qWaitForWindowActive(&host.mainWindow())) std::abort();
    host.startTimerFired();
    QImage whole = makeArenaFrame();
    state.ResumeTiming();
    for (; next < commands.size(); ++next) {
      const auto* t = std::get_if<sim::TickCommand>(&commands[next].command);
      if (t == nullptr) {
        Replayer::apply(host, commands[next].command);
        continue;
      }
      for (int64_t i = 0; i < t->count && sim::simulationRunning(host.game()); ++i) {
        host.tick();
        ++ticks;
        if (paint == Paint::changes) host.mainWindow().renderChanges();
        if (paint == Paint::whole) paintArena(whole, host.game().screen);
      }
    }
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
