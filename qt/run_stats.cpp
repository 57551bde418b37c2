#include "qt/run_stats.h"

#include <time.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace zelkar::qt {

namespace {

constexpr double kNsPerMs = 1e6;
constexpr double kNsPerSecond = 1e9;
constexpr double kKibPerMib = 1024;
// Fields of /proc/PID/stat after the command name: the state is field 3,
// the start time field 22.
constexpr int kStartTimeFieldAfterName = 22 - 3;

std::string readProcFile(const char* path) {
  // /proc files report no size: read until the end, not by the size.
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::optional<uint64_t> parseNumber(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  uint64_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end == s.data()) return std::nullopt;
  return v;
}

}  // namespace

int64_t RunStats::steadyNow() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

RunStats::RunStats(std::FILE* out, Clock now) : out_(out), now_(std::move(now)) {}

bool RunStats::wanted() {
  const char* v = std::getenv("ZELKAR_STATS");
  return v != nullptr && std::string_view(v) == "1";
}

void RunStats::startPanelShown() {
  if (panelReported_) return;
  panelReported_ = true;
  if (const auto ms = msSinceProcessStart())
    std::fprintf(out_, "zelkar-stats: start-panel-ms=%.0f", *ms);
  else
    std::fprintf(out_, "zelkar-stats: start-panel-ms=unknown");
  // The processor time beside it: on a busy machine the wall-clock figure
  // mostly says how long the program waited for a core.
  std::fprintf(out_, " start-panel-processor-ms=%.0f\n", processorMs());
  std::fflush(out_);
}

void RunStats::tickRan() { ++ticks_; }

void RunStats::framePainted() {
  if (running_) ++frames_;
}

void RunStats::tickTimerRunning(bool running) {
  if (running == running_) return;
  running_ = running;
  if (running) {
    since_ = now_();
    return;
  }
  runningNs_ += now_() - since_;
  printTicks();
}

double RunStats::runningSeconds() const {
  const int64_t open = running_ ? now_() - since_ : 0;
  return double(runningNs_ + open) / kNsPerSecond;
}

void RunStats::printTicks() {
  const double seconds = runningSeconds();
  const double rate = seconds > 0 ? double(ticks_) / seconds : 0;
  const double frameRate = seconds > 0 ? double(frames_) / seconds : 0;
  const auto rss = peakRssKib();
  std::fprintf(out_,
               "zelkar-stats: ticks=%lld seconds=%.3f ticks-per-second=%.2f "
               "frames-per-second=%.2f peak-rss-mib=%.1f\n",
               static_cast<long long>(ticks_), seconds, rate, frameRate,
               rss ? double(*rss) / kKibPerMib : 0.0);
  std::fflush(out_);
}

std::optional<uint64_t> startTicksFromStat(std::string_view stat) {
  const std::size_t nameEnd = stat.rfind(')');
  if (nameEnd == std::string_view::npos) return std::nullopt;
  std::string_view rest = stat.substr(nameEnd + 1);
  for (int field = 0; field < kStartTimeFieldAfterName; ++field) {
    const std::size_t gap = rest.find(' ', 1);
    if (gap == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(gap);
  }
  return parseNumber(rest);
}

std::optional<uint64_t> peakRssKibFromStatus(std::string_view status) {
  constexpr std::string_view kKey = "VmHWM:";
  std::size_t at = status.find(kKey);
  // Only at the start of a line: no other key ends in this name today,
  // but the check costs nothing.
  while (at != std::string_view::npos && at != 0 && status[at - 1] != '\n')
    at = status.find(kKey, at + 1);
  if (at == std::string_view::npos) return std::nullopt;
  return parseNumber(status.substr(at + kKey.size()));
}

std::optional<double> msSinceProcessStart() {
  const auto start = startTicksFromStat(readProcFile("/proc/self/stat"));
  const long ticksPerSecond = sysconf(_SC_CLK_TCK);
  timespec now{};
  // The kernel counts a process's start on the boot clock.
  if (!start || ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
    return std::nullopt;
  const double nowMs = double(now.tv_sec) * 1000 + double(now.tv_nsec) / kNsPerMs;
  return nowMs - double(*start) * 1000 / double(ticksPerSecond);
}

double processorMs() {
  timespec used{};
  if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used) != 0) return 0;
  return double(used.tv_sec) * 1000 + double(used.tv_nsec) / kNsPerMs;
}

std::optional<uint64_t> peakRssKib() {
  return peakRssKibFromStatus(readProcFile("/proc/self/status"));
}

}  // namespace zelkar::qt
