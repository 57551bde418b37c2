#include "headless/replay.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/state_hash.h"
#include "headless/state_dump.h"
#include "qt/game_host.h"
#include "qt/hash_log.h"
#include "qt/main_window.h"
#include "qt/qt_window_system.h"
#include "qt/recorder.h"
#include "qt/replayer.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

constexpr int kMaxTicks = 100000;  // a replay that never ends fails, not hangs

std::vector<uint64_t> hashesIn(const QString& path) {
  const QByteArray text = test::readAll(path);
  const auto hashes =
      sim::readHashLines(std::string_view(text.constData(), std::size_t(text.size())));
  EXPECT_TRUE(hashes.has_value()) << qPrintable(path);
  return hashes.value_or(std::vector<uint64_t>{});
}

// Plays a match through the host's own entry points, as the window would
// deliver them, with a recording and a hash list; ticks are called
// directly instead of waiting for the timer.
class RecordedMatch {
 public:
  explicit RecordedMatch(const QTemporaryDir& dir)
      : config(dir.filePath(QStringLiteral("config.txt"))),
        replay(dir.filePath(QStringLiteral("match.zrp"))),
        hashes(dir.filePath(QStringLiteral("recorded.hashes"))) {
    test::writeAll(config, test::kInitialSettings);
    Recorder recorder(replay);
    HashLog log(hashes);
    GameHost host(
        GameHost::Options{1, ConfigLocation(config, config), {}, nullptr, &recorder, &log});
    host_ = &host;
    host.load(4242);
    host.startTimerFired();
    RealWidgets& w = host.mainWindow().widgets();
    w.option2()->click();
    w.tirikosu()->clear();
    QTest::keyClicks(w.tirikosu(), QStringLiteral("4"));
    w.game()->click();
    ticks(5);
    host.keyDown(88, 0);  // X: the left player confirms
    host.keyDown(98, 0);  // keypad 2: the right player confirms
    for (int i = 0; i < 8; ++i) {
      host.keyDown(68, 0);  // D held, repeating
      ticks(3);
    }
    host.keyUp(68, 0);
    host.keyDown(90, 0);  // Z: the gun turns
    ticks(4);
    host.keyUp(90, 0);
    host.keyDown(88, 0);   // X fires
    host.keyDown(104, 0);  // keypad 8: up
    ticks(30);
    host.keyUp(104, 0);
    // Letter keys for the right player and a slower tick from here on.
    host.windowSystem().setSettingsWindowFn([&] {
      ticks(3);
      test::writeAll(config, " 0 \r\n20\r\n 1 \r\n");
    });
    host.keyDown(112, 2);
    host.keyDown(76, 0);  // L: the right player drives left
    ticks(10);
    host.keyUp(76, 0);
    host.keyDown(191, 0);  // "/" fires
    ticks(40);
    host.keyDown(113, 2);  // Ctrl+F2 stops the match
    ticks(3);              // the stopped timer fires none
    w.option1()->click();
    w.game()->click();  // a second match, random count
    ticks(12);
    tickInterval = host.game().s.tickInterval;
  }

  QString config;
  QString replay;
  QString hashes;
  int16_t tickInterval = 0;

 private:
  void ticks(int n) {
    for (int i = 0; i < n; ++i) host_->tick();
  }
  GameHost* host_ = nullptr;
};

// Plays a replay file in a host until its end; ticks called directly.
struct PlayedBack {
  PlayedBack(const QString& replayPath, const QString& hashPath, const QString& configPath) {
    Replayer::Read read = Replayer::fromFile(replayPath, 0);
    EXPECT_TRUE(read.replay) << qPrintable(read.error);
    if (!read.replay) return;
    replay = std::move(read.replay);
    replay->setNote([this](const std::string& line) { notes.push_back(line); });
    log = std::make_unique<HashLog>(hashPath);
    host = std::make_unique<GameHost>(GameHost::Options{
        1, ConfigLocation(configPath, configPath), {}, nullptr, nullptr, log.get(), replay.get()});
    host->windowSystem().setSettingsWindowFn([this] { ++settingsWindows; });
    host->load(replay->seed());
    host->startTimerFired();
  }
  void playToTheEnd() {
    for (int i = 0; i < kMaxTicks && !replay->finished(); ++i) host->tick();
  }

  std::unique_ptr<Replayer> replay;
  std::unique_ptr<HashLog> log;
  std::unique_ptr<GameHost> host;
  std::vector<std::string> notes;
  int settingsWindows = 0;
};

TEST(Replay, ARecordingPlaysTheSameMatchInTheWindowAndInZelkarSim) {
  QTemporaryDir dir;
  const RecordedMatch match(dir);
  const std::vector<uint64_t> recorded = hashesIn(match.hashes);
  ASSERT_GT(recorded.size(), 100u);

  const QByteArray script = test::readAll(match.replay);
  const sim::HashRun headless =
      sim::replayHashes(std::string_view(script.constData(), std::size_t(script.size())));
  ASSERT_FALSE(headless.error);
  EXPECT_EQ(headless.hashes, recorded) << script.constData();

  // The replay never reads config.txt: there is none where it would look.
  const QString replayed = dir.filePath(QStringLiteral("replayed.hashes"));
  {
    PlayedBack back(match.replay, replayed, dir.filePath(QStringLiteral("none/config.txt")));
    ASSERT_TRUE(back.replay);
    back.playToTheEnd();
    EXPECT_TRUE(back.replay->finished());
    // The window after the last line: settings as recorded, the tick held.
    EXPECT_EQ(back.settingsWindows, 0);
    EXPECT_EQ(back.host->game().s.tickInterval, match.tickInterval);
    EXPECT_EQ(back.host->game().s.keypadMode, 0);
    // The last recorded moment stays: the match ran on when the file ended.
    EXPECT_TRUE(sim::simulationRunning(back.host->game()));
    EXPECT_FALSE(back.host->tickClock().isActive());
    const uint64_t frozen = stateHash(back.host->game());
    back.host->tick();
    EXPECT_EQ(stateHash(back.host->game()), frozen);
    ASSERT_EQ(back.notes.size(), 1u);
    EXPECT_NE(back.notes[0].find("ended after " + std::to_string(recorded.size()) + " ticks"),
              std::string::npos)
        << back.notes[0];
  }
  EXPECT_EQ(hashesIn(replayed), recorded);
}

TEST(Replay, ThePlayersOnlyWatchButCtrlF2StopsTheMatchAndTheReplay) {
  QTemporaryDir dir;
  const RecordedMatch match(dir);
  const QString replayed = dir.filePath(QStringLiteral("replayed.hashes"));
  PlayedBack back(match.replay, replayed, dir.filePath(QStringLiteral("none/config.txt")));
  ASSERT_TRUE(back.replay);
  for (int i = 0; i < 20; ++i) back.host->tick();
  const uint64_t before = stateHash(back.host->game());
  back.host->keyDown(88, 0);
  back.host->keyUp(88, 0);
  back.host->keyDown(112, 2);  // no settings window either
  back.host->mainWindow().widgets().game()->click();
  EXPECT_EQ(stateHash(back.host->game()), before);
  EXPECT_EQ(back.settingsWindows, 0);

  back.host->keyDown(113, 2);
  EXPECT_TRUE(back.replay->finished());
  EXPECT_TRUE(back.host->game().screen.Picture2.visible);
  EXPECT_FALSE(back.host->tickClock().isActive());
  ASSERT_EQ(back.notes.size(), 1u);
  EXPECT_NE(back.notes[0].find("stopped by Ctrl+F2 after 20 ticks"), std::string::npos)
      << back.notes[0];
}

// What a replay may hold is parseScript's rule (ScriptTest, ReplayFormat);
// here the refusal names the file and the line, and nothing of it is kept.
TEST(Replay, AFileWithABadLineIsRefusedWhole) {
  const Replayer::Read read =
      Replayer::fromText("zelkar-replay 1\nseed 1\n# fine\nstart random\ndown 999\ntick 5\n",
                         QStringLiteral("m.zrp"), 0);
  EXPECT_FALSE(read.replay);
  EXPECT_TRUE(read.error.startsWith(QStringLiteral("the replay m.zrp is refused: line 5: down:")))
      << qPrintable(read.error);
  // The seed and the settings before the first event are those of load.
  const Replayer::Read good =
      Replayer::fromText("zelkar-replay 1\nconfig 0 15 1\nseed 9\ntick\n", QString(), 3);
  ASSERT_TRUE(good.replay);
  EXPECT_EQ(good.replay->seed(), 9u);
  EXPECT_EQ(good.replay->config().tickInterval, 15);
  EXPECT_EQ(Replayer::fromText("tick\n", QString(), 3).replay->seed(), 3u);
}

}  // namespace
}  // namespace zelkar::qt
