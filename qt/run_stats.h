// Figures of one run, for measuring the program from outside: how soon the
// start panel shows, how many ticks the tick timer really delivers per
// second while it runs, how many frames it paints meanwhile, and the peak
// memory. Switched on with ZELKAR_STATS=1;
// each figure is one "zelkar-stats:" line on standard error, in key=value
// words that a script can pick out.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>

namespace zelkar::qt {

class RunStats {
 public:
  // Nanoseconds on a clock that never jumps.
  using Clock = std::function<int64_t()>;
  static int64_t steadyNow();

  explicit RunStats(std::FILE* out = stderr, Clock now = steadyNow);
  // Whether this run was asked for its figures (ZELKAR_STATS=1).
  static bool wanted();

  // The start panel has been painted: prints, the first time only, the
  // milliseconds since the process began and the processor time it has
  // taken so far (all its threads).
  void startPanelShown();
  void tickRan();
  // The main window put a frame on the screen.
  void framePainted();
  // The tick timer started or stopped. Each stop prints the tick line, so a
  // script can stop a match and read the figures of the match.
  void tickTimerRunning(bool running);
  // The tick line: ticks run, seconds the timer ran, their ratio, the
  // frames painted meanwhile per second and the peak resident memory so
  // far. Idle time between matches does not count.
  void printTicks();

  // Seconds the tick timer has been running, the current period included.
  double runningSeconds() const;

 private:
  std::FILE* out_;
  Clock now_;
  bool panelReported_ = false;
  bool running_ = false;
  int64_t ticks_ = 0;
  int64_t frames_ = 0;     // painted while the tick timer ran
  int64_t runningNs_ = 0;  // closed periods
  int64_t since_ = 0;      // start of the open period
};

// The kernel's own records of this process, read from /proc.
// Start time in clock ticks after boot: field 22 of /proc/PID/stat, counted
// after the command name, which may itself hold blanks and parentheses.
std::optional<uint64_t> startTicksFromStat(std::string_view stat);
// Peak resident set size in KiB: the VmHWM line of /proc/PID/status.
std::optional<uint64_t> peakRssKibFromStatus(std::string_view status);
// Milliseconds since this process began, as the kernel counts its start
// (to its clock tick, 10 ms on most systems); none when /proc cannot tell.
std::optional<double> msSinceProcessStart();
std::optional<uint64_t> peakRssKib();
// Processor time this process has taken so far, all threads, in ms.
double processorMs();

}  // namespace zelkar::qt
