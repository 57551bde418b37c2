#include "qt/run_stats.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

constexpr int64_t kNsPerSecond = 1'000'000'000;

// What the figures printed, read back from a memory stream.
struct Printed {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  ~Printed() {
    std::fclose(out);
    std::free(buffer);
  }
  std::FILE* stream() { return out; }
  std::string text() { return std::fflush(out), std::string(buffer, size); }
};

TEST(RunStats, CountsTheTickRateOverTheTimersRunningPeriodsOnly) {
  Printed out;
  int64_t now = 0;
  RunStats stats(out.stream(), [&now] { return now; });

  stats.framePainted();  // the start panel: no match runs yet
  stats.tickTimerRunning(true);
  for (int i = 0; i < 100; ++i) stats.tickRan();
  for (int i = 0; i < 60; ++i) stats.framePainted();
  now = kNsPerSecond;
  stats.tickTimerRunning(false);
  stats.framePainted();  // the score at the end of the match
  EXPECT_NE(out.text().find("ticks=100 seconds=1.000 ticks-per-second=100.00 "
                            "frames-per-second=60.00 peak-rss-mib="),
            std::string::npos)
      << out.text();

  // The idle time between two matches does not dilute the rate, and a
  // repeated report of the same state changes nothing.
  now = 60 * kNsPerSecond;
  stats.tickTimerRunning(false);
  stats.tickTimerRunning(true);
  stats.tickTimerRunning(true);
  for (int i = 0; i < 99; ++i) stats.tickRan();
  now = 61 * kNsPerSecond;
  EXPECT_DOUBLE_EQ(stats.runningSeconds(), 2.0);  // the open period counts
  stats.printTicks();
  EXPECT_NE(out.text().find("ticks=199 seconds=2.000 ticks-per-second=99.50"), std::string::npos)
      << out.text();
}

TEST(RunStats, TellsTheStartPanelOnceWithTheTimeSinceTheProcessBegan) {
  Printed out;
  RunStats stats(out.stream());
  stats.startPanelShown();
  stats.startPanelShown();
  const std::string text = out.text();
  const std::string key = "zelkar-stats: start-panel-ms=";
  ASSERT_EQ(text.find(key), 0u) << text;
  EXPECT_EQ(text.find(key, 1), std::string::npos) << text;
  // This test process has run for some time, but not for days.
  const double ms = std::strtod(text.c_str() + key.size(), nullptr);
  EXPECT_GT(ms, 0);
  EXPECT_LT(ms, 86'400'000);
}

TEST(ProcFiles, ReadTheStartTimeAfterAnyCommandName) {
  // Fields 3 to 21 stand between the name and the start time (field 22).
  const std::string tail = " S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 424242 19 20";
  EXPECT_EQ(startTicksFromStat("1234 (zelkar)" + tail), 424242u);
  // A name with blanks and parentheses of its own.
  EXPECT_EQ(startTicksFromStat("1234 (a) b (c))" + tail), 424242u);
  EXPECT_FALSE(startTicksFromStat("1234 zelkar S 1 2"));
  EXPECT_FALSE(startTicksFromStat("1234 (zelkar) S 1 2 3"));
  EXPECT_FALSE(startTicksFromStat(""));
}

TEST(ProcFiles, ReadThePeakResidentSize) {
  EXPECT_EQ(peakRssKibFromStatus("Name:\tzelkar\nVmPeak:\t  999 kB\nVmHWM:\t   53124 kB\n"),
            53124u);
  EXPECT_FALSE(peakRssKibFromStatus("Name:\tzelkar\nVmRSS:\t 10 kB\n"));
  EXPECT_FALSE(peakRssKibFromStatus("VmHWM:\t kB\n"));
  // This process has a resident size, and it is not zero.
  ASSERT_TRUE(peakRssKib());
  EXPECT_GT(*peakRssKib(), 0u);
}

TEST(RunStats, TheHostReportsTicksAndTheStopOfAMatch) {
  Printed out;
  RunStats stats(out.stream());
  test::TestHost t({.stats = &stats});
  t.host.load(1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&t.host.mainWindow()));
  t.host.startTimerFired();
  t.host.mainWindow().repaint();  // the start panel reaches the screen
  EXPECT_NE(out.text().find("start-panel-ms="), std::string::npos) << out.text();

  t.widgets().game()->click();
  ASSERT_TRUE(t.host.tickClock().isActive());
  t.ticks(3);
  t.host.keyDown(113, 2);  // Ctrl+F2 stops the match
  EXPECT_FALSE(t.host.tickClock().isActive());
  EXPECT_NE(out.text().find("zelkar-stats: ticks=3 "), std::string::npos) << out.text();
}

}  // namespace
}  // namespace zelkar::qt
