// Replays in the window: the recorder's lines, a recording played back to
// the same hashes, watched, stopped, and the files --replay refuses.
#include "headless/replay.h"

#include <gtest/gtest.h>

#include <QCheckBox>

#include "app/state_hash.h"
#include "events/script.h"
#include "headless/state_dump.h"
#include "qt/hash_log.h"
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

// A match played through the host's own entry points, as the window would
// deliver them, with a recording and a hash list; ticks are called
// directly instead of waiting for the timer.
struct RecordedMatch {
  QTemporaryDir files;
  QString replay = files.filePath(QStringLiteral("match.zrp"));
  QString hashes = files.filePath(QStringLiteral("recorded.hashes"));
  int16_t tickInterval = 0;

  RecordedMatch() {
    Recorder recorder(replay);
    HashLog log(hashes);
    test::TestHost t({.recorder = &recorder, .hashes = &log});
    t.startMatch(4242, "4");
    t.ticks(5);
    t.host.keyDown(88, 0);  // X: the left player confirms
    t.host.keyDown(98, 0);  // keypad 2: the right player confirms
    for (int i = 0; i < 8; ++i) {
      t.host.keyDown(68, 0);  // D held, repeating
      t.ticks(3);
    }
    t.host.keyUp(68, 0);
    t.host.keyDown(90, 0);  // Z: the gun turns
    t.ticks(4);
    t.host.keyUp(90, 0);
    t.host.keyDown(88, 0);   // X fires
    t.host.keyDown(104, 0);  // keypad 8: up
    t.ticks(30);
    t.host.keyUp(104, 0);
    // Letter keys for the right player and a slower tick from here on.
    t.host.windowSystem().setSettingsWindowFn([&] {
      t.ticks(3);
      test::writeAll(t.dir.filePath(QStringLiteral("config.txt")), " 0 \r\n20\r\n 1 \r\n");
    });
    t.host.keyDown(112, 2);
    t.host.keyDown(76, 0);  // L: the right player drives left
    t.ticks(10);
    t.host.keyUp(76, 0);
    t.host.keyDown(191, 0);  // "/" fires
    t.ticks(40);
    t.host.keyDown(113, 2);  // Ctrl+F2 stops the match
    t.ticks(3);              // the stopped timer fires none
    t.widgets().option1()->click();
    t.widgets().game()->click();  // a second match, random count
    t.ticks(12);
    tickInterval = t.host.game().s.tickInterval;
  }
};

// Plays a replay file in a host until its end, where no config.txt lies;
// ticks called directly.
struct PlayedBack {
  PlayedBack(const QString& replayPath, const QString& hashPath)
      : read(Replayer::fromFile(replayPath, 0)), log(hashPath) {
    EXPECT_TRUE(read.replay) << qPrintable(read.error);
    if (!read.replay) return;
    read.replay->setNote([this](const std::string& line) { notes.push_back(line); });
    t = std::make_unique<test::TestHost>(
        GameHost::Options{.hashes = &log, .replay = read.replay.get()}, false);
    t->host.windowSystem().setSettingsWindowFn([this] { ++settingsWindows; });
    t->start(read.replay->seed());
  }
  void playToTheEnd() {
    for (int i = 0; i < kMaxTicks && !read.replay->finished(); ++i) t->host.tick();
  }

  Replayer::Read read;
  HashLog log;
  std::unique_ptr<test::TestHost> t;
  std::vector<std::string> notes;
  int settingsWindows = 0;
};

TEST(Replay, ARecordingPlaysTheSameMatchInTheWindowAndInZelkarSim) {
  const RecordedMatch match;
  const std::vector<uint64_t> recorded = hashesIn(match.hashes);
  ASSERT_GT(recorded.size(), 100u);

  const QByteArray script = test::readAll(match.replay);
  const sim::HashRun headless =
      sim::replayHashes(std::string_view(script.constData(), std::size_t(script.size())));
  ASSERT_FALSE(headless.error);
  EXPECT_EQ(headless.hashes, recorded) << script.constData();

  // The replay never reads config.txt: there is none where it would look.
  const QString replayed = match.files.filePath(QStringLiteral("replayed.hashes"));
  {
    PlayedBack back(match.replay, replayed);
    ASSERT_TRUE(back.t);
    back.playToTheEnd();
    EXPECT_TRUE(back.read.replay->finished());
    // The window after the last line: settings as recorded, the tick held.
    EXPECT_EQ(back.settingsWindows, 0);
    EXPECT_EQ(back.t->host.game().s.tickInterval, match.tickInterval);
    EXPECT_EQ(back.t->host.game().s.keypadMode, 0);
    // The last recorded moment stays: the match ran on when the file ended.
    EXPECT_TRUE(sim::simulationRunning(back.t->host.game()));
    EXPECT_FALSE(back.t->host.tickClock().isActive());
    const uint64_t frozen = stateHash(back.t->host.game());
    back.t->host.tick();
    EXPECT_EQ(stateHash(back.t->host.game()), frozen);
    ASSERT_EQ(back.notes.size(), 1u);
    EXPECT_NE(back.notes[0].find("ended after " + std::to_string(recorded.size()) + " ticks"),
              std::string::npos)
        << back.notes[0];
  }
  EXPECT_EQ(hashesIn(replayed), recorded);
}

TEST(Replay, ThePlayersOnlyWatchButCtrlF2StopsTheMatchAndTheReplay) {
  const RecordedMatch match;
  const QString replayed = match.files.filePath(QStringLiteral("replayed.hashes"));
  PlayedBack back(match.replay, replayed);
  ASSERT_TRUE(back.t);
  back.t->ticks(20);
  const uint64_t before = stateHash(back.t->host.game());
  back.t->host.keyDown(88, 0);
  back.t->host.keyUp(88, 0);
  back.t->host.keyDown(112, 2);  // no settings window either
  back.t->host.mainWindow().widgets().game()->click();
  EXPECT_EQ(stateHash(back.t->host.game()), before);
  EXPECT_EQ(back.settingsWindows, 0);

  back.t->host.keyDown(113, 2);
  EXPECT_TRUE(back.read.replay->finished());
  EXPECT_TRUE(back.t->host.game().screen.Picture2.visible);
  EXPECT_FALSE(back.t->host.tickClock().isActive());
  ASSERT_EQ(back.notes.size(), 1u);
  EXPECT_NE(back.notes[0].find("stopped by Ctrl+F2 after 20 ticks"), std::string::npos)
      << back.notes[0];
}

// What a replay may hold is parseScript's rule (ScriptTest, ReplayFormat);
// here the refusal names the file and the line, and nothing of it is kept.
// A last line without a break was cut: in the window a file is a replay
// with or without the format line.
TEST(Replay, AFileWithABadOrCutLineIsRefusedWhole) {
  const std::pair<const char*, const char*> refused[] = {
      {"zelkar-replay 1\nseed 1\n# fine\nstart random\ndown 999\ntick 5\n", "line 5: down:"},
      {"zelkar-replay 1\nseed 1\nstart random\ndown 10", "line 4: the last line has no line break"},
      {"seed 1\nstart random\ndown 10", "line 3: the last line has no line break"},
      {"zelkar-replay 1\ntick\r", "line 2: the last line has no line break"}};
  for (const auto& [text, said] : refused) {
    const Replayer::Read read = Replayer::fromText(text, QStringLiteral("m.zrp"), 0);
    EXPECT_FALSE(read.replay) << text;
    EXPECT_TRUE(read.error.startsWith(QStringLiteral("the replay m.zrp is refused: ") + said))
        << qPrintable(read.error);
  }
  EXPECT_TRUE(Replayer::fromText("zelkar-replay 1\nseed 1\ndown 100\n", {}, 0).replay);
  EXPECT_TRUE(Replayer::fromText("", {}, 0).replay);  // nothing to cut
  // Without a seed line, the seed of --seed (the file's own seed and settings
  // are Replay.ARecordingPlaysTheSameMatchInTheWindowAndInZelkarSim's).
  EXPECT_EQ(Replayer::fromText("tick\n", QString(), 3).replay->seed(), 3u);
}

// What --replay reads: a regular file within the size limit.
TEST(ReplayFiles, OnlyARegularFileWithinTheLimitIsRead) {
  // What is a regular file is readRegularFile's rule (RegularFileTest); here
  // the limit it is given (one byte more is refused before parsing) and the
  // path in what is said.
  QTemporaryDir dir;
  const QByteArray head = "zelkar-replay 1\nseed 2\n";
  const QByteArray atLimit =
      head + QByteArray(qsizetype(sim::kMaxScriptBytes) - head.size() - 1, '#') + '\n';
  const QString at = dir.filePath(QStringLiteral("at.zrp")), over = dir.filePath("over.zrp");
  test::writeAll(at, atLimit);
  test::writeAll(over, atLimit + "\n");
  const Replayer::Read whole = Replayer::fromFile(at, 0);
  ASSERT_TRUE(whole.replay) << qPrintable(whole.error);
  EXPECT_EQ(whole.replay->seed(), 2u);
  const QString said = Replayer::fromFile(over, 0).error;
  EXPECT_TRUE(said.contains(QStringLiteral("larger than 16777216")) && said.contains(over))
      << qPrintable(said);
}

// The file as zelkar-sim reads it.
std::vector<sim::Command> commandsOf(const QByteArray& text) {
  const sim::ParsedScript parsed =
      sim::parseScript(std::string_view(text.constData(), std::size_t(text.size())));
  EXPECT_FALSE(parsed.error) << parsed.error->line << ": " << parsed.error->message;
  std::vector<sim::Command> out;
  for (const sim::ScriptLine& l : parsed.commands) out.push_back(l.command);
  return out;
}

// The replay question, as the tick leaves the model at the end of a match.
void ask(GameHost& host) {
  ScreenModel& m = host.ownGame().screen;
  m.timer1Interval = 0;
  m.mes1.visible = m.han.visible = true;
  m.focus = Focus::Han;
  host.ownGame().awaitingAnswer = true;
  host.refresh();
}

TEST(Recorder, WritesEveryEventTheHostHandledInOrder) {
  QTemporaryDir files;
  const QString path = files.filePath(QStringLiteral("match.zrp"));
  {
    Recorder recorder(path);
    ASSERT_TRUE(recorder.isOpen());
    test::TestHost t({.recorder = &recorder});
    t.start(77);
    t.typeCount("3");  // option clicks are not events of a replay
    t.widgets().mas()->click();
    t.widgets().game()->click();
    t.host.keyDown(65, 0);
    t.ticks(2);
    t.host.keyUp(65, 1);
    // Ticks run while the settings window is open; what it leaves in force
    // is only known when it has closed, and must precede the key.
    t.host.windowSystem().setSettingsWindowFn([&] {
      t.ticks(1);
      test::writeAll(t.dir.filePath(QStringLiteral("config.txt")), " 0 \r\n20\r\n 1 \r\n");
    });
    t.host.keyDown(112, 2);
    t.ticks(1);
    ask(t.host);
    QTest::keyClicks(t.widgets().han(), QStringLiteral("x"));
    t.ticks(1);  // the question stopped the tick: not counted
    EXPECT_TRUE(t.messages.shown.empty());
  }
  const QByteArray text = test::readAll(path);
  EXPECT_TRUE(text.startsWith("zelkar-replay 1\n")) << text.constData();
  const std::vector<sim::Command> expected = {
      sim::SeedCommand{77},
      sim::ConfigCommand{{1, 10, 0}},
      sim::StartCommand{true, "3", true},
      sim::KeyDownCommand{65, 0},
      sim::TickCommand{2},
      sim::KeyUpCommand{65},
      sim::TickCommand{1},
      sim::ConfigCommand{{0, 20, 1}},
      sim::KeyDownCommand{112, 2},
      sim::TickCommand{1},
      sim::AnswerCommand{"x"},
  };
  EXPECT_EQ(commandsOf(text), expected) << text.constData();
}

TEST(Recorder, AStartWithTheRandomCountSaysWhatTheCountBoxHeld) {
  QTemporaryDir files;
  const QString path = files.filePath(QStringLiteral("match.zrp"));
  {
    Recorder recorder(path);
    test::TestHost t({.recorder = &recorder});
    t.start(1);
    t.typeCount("7 x");
    t.widgets().option1()->click();
    t.widgets().game()->click();
  }
  const QByteArray text = test::readAll(path);
  // Replays skip the comment; the start line is still what was pressed.
  EXPECT_TRUE(text.contains("\n# the count box held \"7 x\", not 1, at the next start\n"))
      << text.constData();
  const std::vector<sim::Command> commands = commandsOf(text);
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[2], sim::Command(sim::StartCommand{false, "", false}));
}

TEST(Recorder, LinesReachTheFileAsTheyAreMadeAndLongRunsComeInPieces) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("match.zrp"));
  Recorder recorder(path);
  recorder.write(sim::SeedCommand{5});
  for (int i = 0; i < 250; ++i) recorder.tickRan();
  // Still running, as a killed program would leave the file.
  EXPECT_EQ(test::readAll(path), QByteArray("zelkar-replay 1\nseed 5\ntick 100\ntick 100\n"));
  recorder.write(sim::KeyUpCommand{65});
  EXPECT_EQ(test::readAll(path),
            QByteArray("zelkar-replay 1\nseed 5\ntick 100\ntick 100\ntick 50\nup 65\n"));
}

}  // namespace
}  // namespace zelkar::qt
