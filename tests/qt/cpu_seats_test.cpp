// The computer player in the window: its options, its boxes on the start
// panel, and a recording of its match that zelkar-sim replays exactly.
#include "qt/cpu_seats.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <sstream>

#include "app/state_hash.h"
#include "events/script.h"
#include "headless/runner.h"
#include "qt/cpu_options.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/real_widgets.h"
#include "qt/recorder.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

CpuOptions take(std::initializer_list<const char*> args, QStringList* rest = nullptr) {
  QStringList list = test::commandLine(args);
  const CpuOptions o = takeCpuOptions(list);
  if (rest != nullptr) *rest = list;
  return o;
}

TEST(CpuOptions, SidesAndLevel) {
  const CpuOptions none = take({});
  EXPECT_FALSE(none.sides[0] || none.sides[1]);
  EXPECT_EQ(none.level, 3);
  EXPECT_EQ(take({"--cpu", "left"}).sides, (std::array<bool, 2>{false, true}));
  EXPECT_EQ(take({"--cpu=right"}).sides, (std::array<bool, 2>{true, false}));
  EXPECT_EQ(take({"--cpu", "both", "--cpu-level", "1"}).sides, (std::array<bool, 2>{true, true}));
  EXPECT_EQ(take({"--cpu-level=2"}).level, 2);
  // The other options stay for the rest of the command line.
  QStringList rest;
  EXPECT_TRUE(take({"--seed", "5", "--cpu", "left", "--scale=2"}, &rest).error.isEmpty());
  EXPECT_EQ(rest, (QStringList{"zelkar", "--seed", "5", "--scale=2"}));
}

TEST(CpuOptions, MistakesAreRefused) {
  for (const char* args : {"--cpu", "--cpu middle", "--cpu-level 0", "--cpu-level 4",
                           "--cpu-level=x", "--cpu-level"}) {
    QStringList list = test::commandLineOf(args);
    EXPECT_FALSE(takeCpuOptions(list).error.isEmpty()) << args;
  }
}

TEST(CpuSeats, TheBoxesChooseTheRightSideAndTheStrength) {
  CpuSeats seats(CpuOptions{}, 1);
  EXPECT_FALSE(seats.plays(0) || seats.plays(1));
  seats.setPlaying(true);
  EXPECT_TRUE(seats.plays(0));
  EXPECT_FALSE(seats.plays(1));
  seats.setLevel(1);
  EXPECT_EQ(seats.level(), 1);
  seats.setPlaying(false);
  EXPECT_FALSE(seats.plays(0));
  // Sides from the command line are the ones the box brings back.
  CpuSeats left(CpuOptions{{false, true}, 2, {}}, 1);
  EXPECT_TRUE(left.plays(1));
  left.setPlaying(false);
  left.setPlaying(true);
  EXPECT_TRUE(left.plays(1));
  EXPECT_FALSE(left.plays(0));
}

TEST(CpuSeats, ItsKeysAreRecordedAndReplayExactly) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("match.zrp"));
  uint64_t shown = 0;
  {
    Recorder recorder(path);
    ASSERT_TRUE(recorder.isOpen());
    CpuSeats seats(CpuOptions{{true, true}, 3, {}}, 99);
    GameHost host(GameHost::Options{
        .config = test::configIn(dir), .soundFolder = {}, .recorder = &recorder, .cpu = &seats});
    seats.attach(&host.mainWindow(), 1);
    host.load(99);
    host.startTimerFired();
    RealWidgets& w = host.mainWindow().widgets();
    // The boxes show with the start panel and go with it.
    EXPECT_TRUE(seats.checkBox()->isVisibleTo(&host.mainWindow()));
    EXPECT_TRUE(seats.checkBox()->isChecked());
    EXPECT_EQ(seats.strengthBox()->currentIndex(), 2);
    w.game()->click();
    EXPECT_FALSE(seats.checkBox()->isVisibleTo(&host.mainWindow()));
    for (int n = 0; n < 3000; ++n) host.tick();  // level 3 sets up for some 2,200 ticks
    EXPECT_EQ(host.game().s.settingRow[0], kRowInBattle) << "the computer set up and confirmed";
    EXPECT_EQ(host.game().s.settingRow[1], kRowInBattle);
    shown = stateHash(host.game());
  }
  const QByteArray text = test::readAll(path);
  EXPECT_EQ(text.indexOf("cpu"), -1) << "the computer's keys are plain key lines";
  EXPECT_NE(text.indexOf("\ndown "), -1);
  const sim::ParsedScript parsed =
      sim::parseScript(std::string_view(text.constData(), std::size_t(text.size())));
  ASSERT_FALSE(parsed.error);
  std::ostringstream sink;
  sim::Runner r(sink, sim::DumpMode::None, 0);
  for (const sim::ScriptLine& l : parsed.commands) r.execute(l.command);
  EXPECT_EQ(r.ticks(), 3000);
  EXPECT_EQ(stateHash(r.game()), shown);
}

}  // namespace
}  // namespace zelkar::qt
