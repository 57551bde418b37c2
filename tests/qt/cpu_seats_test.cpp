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

// What --cpu and --cpu-level choose: whether the right and the left player
// are the computer's, its level, and the words left for the other options.
std::string chosen(const char* args) {
  QStringList list = test::commandLineOf(args);
  const CpuOptions o = takeCpuOptions(list);
  if (!o.error.isEmpty()) return "error";
  return std::to_string(o.sides[0]) + std::to_string(o.sides[1]) + " " + std::to_string(o.level) +
         qPrintable(list.join(u' ').mid(6));
}

TEST(CpuOptions, SidesLevelAndMistakes) {
  const struct {
    const char* args;
    const char* chosen;
  } cases[] = {
      {"--seed 5", "00 3 --seed 5"}, {"--cpu left", "01 3"},
      {"--cpu=right", "10 3"},       {"--cpu both --cpu-level 1", "11 1"},
      {"--cpu-level=2", "00 2"},     {"--seed 5 --cpu left --scale=2", "01 3 --seed 5 --scale=2"},
  };
  for (const auto& c : cases) EXPECT_EQ(chosen(c.args), c.chosen) << c.args;
  for (const char* wrong :
       {"--cpu", "--cpu middle", "--cpu-level 0", "--cpu-level 4", "--cpu-level=x", "--cpu-level"})
    EXPECT_EQ(chosen(wrong), "error") << wrong;
}

// The box seats the computer where the command line said, or on the right
// when it named no side; unticked, nowhere.
TEST(CpuSeats, TheBoxSeatsTheChosenSides) {
  for (const auto& [sides, seated] :
       {std::pair{std::array<bool, 2>{}, std::array<bool, 2>{true, false}},
        std::pair{std::array<bool, 2>{false, true}, std::array<bool, 2>{false, true}}}) {
    CpuSeats seats(CpuOptions{sides, 2, {}}, 1);
    seats.setPlaying(false);
    EXPECT_FALSE(seats.plays(0) || seats.plays(1));
    seats.setPlaying(true);
    EXPECT_EQ((std::array<bool, 2>{seats.plays(0), seats.plays(1)}), seated);
  }
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
