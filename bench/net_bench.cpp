// Online play: what saving and restoring the whole game costs, what a
// rollback of the deepest kind costs, and what two sessions do over a
// simulated network (rollback depths, replayed frames, waiting, bytes).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "net/frame.h"
#include "net/session.h"
#include "net/side_keys.h"
#include "net/sim_link.h"
#include "net/snapshot.h"

namespace zelkar::net {
namespace {

// A game in the middle of a fight: the golden "fight" replay after 1000
// ticks (shells, moving obstacles, both vehicles).
std::unique_ptr<Game> midFight() {
  std::ifstream in(std::filesystem::path(ZELKAR_REPLAY_DIR) / "fight.zrp", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  auto g = std::make_unique<Game>();
  QuietWindow ws(*g);
  bool loaded = false;
  int64_t ticks = 0;
  for (const sim::ScriptLine& line : sim::parseScript(text.str()).commands) {
    if (!loaded && std::holds_alternative<sim::ConfigCommand>(line.command)) {
      play(*g, ws, line.command);
      continue;
    }
    if (!loaded) openWindow(*g, ws, 0), loaded = true;
    if (const auto* t = std::get_if<sim::TickCommand>(&line.command)) {
      for (int64_t i = 0; i < t->count && ticks < 1000; ++i)
        ticks += play(*g, ws, sim::TickCommand{1});
      g->sounds.clear();
      if (ticks >= 1000) break;
    } else {
      play(*g, ws, line.command);
    }
  }
  return g;
}

// The whole Game by its own assignment, pictures included: what a save
// would cost without leaving them out.
void BM_CopyWholeGame(benchmark::State& state) {
  auto g = midFight();
  auto copy = std::make_unique<Game>();
  std::size_t pictureBytes = 0;
  for (const Picture& p : g->screen.pictures) pictureBytes += p.pixels.size() * sizeof(int32_t);
  for (auto _ : state) {
    *copy = *g;
    benchmark::DoNotOptimize(copy.get());
  }
  state.counters["gameBytes"] = double(sizeof(Game));
  state.counters["pictureBytes"] = double(pictureBytes);
}
BENCHMARK(BM_CopyWholeGame)->Unit(benchmark::kMicrosecond);

void BM_SaveGame(benchmark::State& state) {
  auto g = midFight();
  auto saved = std::make_unique<Game>();
  for (auto _ : state) {
    saveGame(*g, *saved);
    benchmark::DoNotOptimize(saved.get());
  }
}
BENCHMARK(BM_SaveGame)->Unit(benchmark::kMicrosecond);

void BM_RestoreGame(benchmark::State& state) {
  auto g = midFight();
  auto saved = std::make_unique<Game>();
  saveGame(*g, *saved);
  for (auto _ : state) {
    restoreGame(*g, *saved);
    benchmark::DoNotOptimize(g.get());
  }
}
BENCHMARK(BM_RestoreGame)->Unit(benchmark::kMicrosecond);

// The deepest rollback: restore the game of 8 frames ago and run the 8
// frames again, saving each as a frame run on a prediction is saved.
void BM_RollbackOf8Frames(benchmark::State& state) {
  auto g = midFight();
  QuietWindow ws(*g);
  ws.setConfig(ConfigValues{1, 10, 0});
  const auto start = std::make_unique<Game>();
  saveGame(*g, *start);
  std::vector<std::unique_ptr<Game>> saved;
  for (int i = 0; i < kMaxFramesAhead; ++i) saved.push_back(std::make_unique<Game>());
  Event fire;
  fire.kind = Event::Kind::KeyDown, fire.keyCode = 88;  // X: the left player fires
  std::vector<sim::Command> applied;
  std::vector<Sound> sounds;
  for (auto _ : state) {
    restoreGame(*g, *start);
    MatchState m;
    for (int f = 0; f < kMaxFramesAhead; ++f) {
      saveGame(*g, *saved[std::size_t(f)]);
      applied.clear();
      runFrame(*g, ws, m, f == 0 ? FrameEvents{fire} : FrameEvents{}, {},
               FrameOutput{&applied, &sounds});
      sounds.clear();
    }
  }
}
BENCHMARK(BM_RollbackOf8Frames)->Unit(benchmark::kMicrosecond);

// Two sessions over a simulated network with 10 ms of jitter and 5 % loss,
// random keys on both sides, 6000 frames (a minute of play at the default
// tick). Counters: rollback depth (mean and largest), frames replayed per
// second of play, time each side waited, and payload bytes per second each
// way. The frame time is what the simulated minute took to compute.
void BM_SimulatedMatch(benchmark::State& state) {
  const int64_t roundTripMs = state.range(0);
  SessionStats host, joiner;
  int64_t playedMicros = 0;
  for (auto _ : state) {
    SimLinkConfig link;
    link.latencyMicros = roundTripMs * 1000 / 2;
    link.jitterMicros = 10000;
    link.loss = 0.05;
    link.seed = 42;
    SimNetwork net(link);
    SessionConfig hc, jc;
    hc.code = jc.code = "B";
    hc.settings = jc.settings = ConfigValues{1, 10, 0};
    jc.role = Role::Joiner;
    Session h(net.end(0), hc), j(net.end(1), jc);
    std::mt19937_64 rng(7);
    const KeyTable left = kLeftPlayerKeys, right = rightPlayerKeys(1);
    std::array<bool, 8> heldL{}, heldR{};
    auto press = [&](Session& s, const KeyTable& keys, std::array<bool, 8>& held) {
      if (rng() % 8 != 0) return;
      const std::size_t c = rng() % 8;
      held[c] ? s.localKeyUp(keys[c]) : s.localKeyDown(keys[c], 0);
      held[c] = !held[c];
    };
    int64_t now = 0, hf = 0, jf = 0, startedAt = -1;
    while (h.frame() < 6000 || j.frame() < 6000) {
      now += 1000;
      h.poll(now);
      j.poll(now);
      if (startedAt < 0 && h.phase() == Phase::Running) startedAt = now;
      if (h.frame() != hf) {
        hf = h.frame();
        if (h.game().screen.Picture2.visible) h.start(sim::StartCommand{});
        if (h.game().awaitingAnswer) h.answer("Y");
        press(h, left, heldL);
      }
      if (j.frame() != jf) {
        jf = j.frame();
        if (j.game().awaitingAnswer) j.answer("Y");
        press(j, right, heldR);
      }
    }
    host = h.stats(), joiner = j.stats();
    playedMicros = now - startedAt;
  }
  const double seconds = double(playedMicros) / 1e6;
  const int64_t rollbacks = host.rollbacks + joiner.rollbacks;
  const int64_t replayed = host.replayedFrames + joiner.replayedFrames;
  state.counters["rollbackMean"] = rollbacks ? double(replayed) / double(rollbacks) : 0;
  state.counters["rollbackMax"] = std::max(host.maxRollbackFrames, joiner.maxRollbackFrames);
  state.counters["replayedPerSec"] = double(replayed) / 2 / seconds;  // per side
  state.counters["hostWaitedMs"] = double(host.waitedMicros) / 1000;
  state.counters["joinerWaitedMs"] = double(joiner.waitedMicros) / 1000;
  state.counters["hostToJoinerBps"] = double(host.bytesSent) / seconds;
  state.counters["joinerToHostBps"] = double(joiner.bytesSent) / seconds;
}
BENCHMARK(BM_SimulatedMatch)->Arg(60)->Arg(150)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zelkar::net
