#include "qt/recorder.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "events/script.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/qt_window_system.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

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
  QTemporaryDir dir;
  const QString config = dir.filePath(QStringLiteral("config.txt"));
  const QString path = dir.filePath(QStringLiteral("match.zrp"));
  {
    Recorder recorder(path);
    ASSERT_TRUE(recorder.isOpen());
    GameHost host(
        GameHost::Options{.config = test::configIn(dir), .soundFolder = {}, .recorder = &recorder});
    test::CapturedMessages messages;
    host.windowSystem().setMessageBoxFn(messages.fn());
    host.load(77);
    host.startTimerFired();
    RealWidgets& w = host.mainWindow().widgets();
    w.option2()->click();  // option clicks are not events of a replay
    w.tirikosu()->clear();
    QTest::keyClicks(w.tirikosu(), QStringLiteral("3"));
    w.mas()->click();
    w.game()->click();
    host.keyDown(65, 0);
    host.tick();
    host.tick();
    host.keyUp(65, 1);
    // Ticks run while the settings window is open; what it leaves in force
    // is only known when it has closed, and must precede the key.
    host.windowSystem().setSettingsWindowFn([&] {
      host.tick();
      test::writeAll(config, " 0 \r\n20\r\n 1 \r\n");
    });
    host.keyDown(112, 2);
    host.tick();
    ask(host);
    QTest::keyClicks(w.han(), QStringLiteral("x"));
    host.tick();  // the question stopped the tick: not counted
    EXPECT_TRUE(messages.shown.empty());
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
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("match.zrp"));
  {
    Recorder recorder(path);
    GameHost host(
        GameHost::Options{.config = test::configIn(dir), .soundFolder = {}, .recorder = &recorder});
    host.load(1);
    host.startTimerFired();
    RealWidgets& w = host.mainWindow().widgets();
    w.option2()->click();
    w.tirikosu()->clear();
    QTest::keyClicks(w.tirikosu(), QStringLiteral("7 x"));
    w.option1()->click();
    w.game()->click();
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
