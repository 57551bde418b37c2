// The computer player in the window: its options, its boxes on the start
// panel, and a recording of its match that zelkar-sim replays exactly.
#include "qt/cpu_seats.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>

#include "app/state_hash.h"
#include "headless/replay.h"
#include "qt/cpu_options.h"
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
  QTemporaryDir files;
  const QString path = files.filePath(QStringLiteral("match.zrp"));
  uint64_t shown = 0;
  {
    Recorder recorder(path);
    ASSERT_TRUE(recorder.isOpen());
    CpuSeats seats(CpuOptions{{true, true}, 3, {}}, 99);
    test::TestHost t({.recorder = &recorder, .cpu = &seats});
    seats.attach(&t.host.mainWindow(), 1);
    t.start(99);
    // The boxes show with the start panel and go with it.
    EXPECT_TRUE(seats.checkBox()->isVisibleTo(&t.host.mainWindow()));
    EXPECT_TRUE(seats.checkBox()->isChecked());
    EXPECT_EQ(seats.strengthBox()->currentIndex(), 2);
    t.widgets().game()->click();
    EXPECT_FALSE(seats.checkBox()->isVisibleTo(&t.host.mainWindow()));
    t.ticks(3000);  // level 3 sets up for some 2,200 ticks
    for (const int player : {0, 1})
      EXPECT_EQ(t.host.game().s.settingRow[player], kRowInBattle) << "the computer confirmed";
    shown = stateHash(t.host.game());
  }
  const QByteArray text = test::readAll(path);
  EXPECT_EQ(text.indexOf("cpu"), -1) << "the computer's keys are plain key lines";
  EXPECT_NE(text.indexOf("\ndown "), -1);
  const sim::HashRun replayed =
      sim::replayHashes(std::string_view(text.constData(), std::size_t(text.size())));
  ASSERT_FALSE(replayed.error);
  ASSERT_EQ(replayed.hashes.size(), 3000u);
  EXPECT_EQ(replayed.hashes.back(), shown);
}

}  // namespace
}  // namespace zelkar::qt
