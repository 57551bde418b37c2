#include "qt/recorder.h"

#include <string>

namespace zelkar::qt {

namespace {

// A long run without events is written in pieces, so that a program killed
// mid-match loses at most this many ticks: a second at the usual 10 ms.
constexpr int64_t kTicksPerLine = 100;

}  // namespace

Recorder::Recorder(const QString& path) : file_(path, "recording") {
  file_.write(std::string(sim::kReplayFormat) + ' ' + std::to_string(sim::kReplayVersion));
  file_.flush();
}

Recorder::~Recorder() { finish(); }

bool Recorder::finish() {
  writeTicks();
  return file_.finish();
}

void Recorder::write(const sim::Command& command) {
  writeTicks();
  file_.write(sim::scriptLine(command));
  file_.flush();
}

void Recorder::comment(std::string_view text) {
  writeTicks();
  file_.write("# " + std::string(text));
  file_.flush();
}

void Recorder::tickRan() {
  if (++pendingTicks_ < kTicksPerLine) return;
  writeTicks();
  file_.flush();
}

void Recorder::writeTicks() {
  if (pendingTicks_ == 0) return;
  file_.write(sim::scriptLine(sim::TickCommand{pendingTicks_}));
  pendingTicks_ = 0;
}

}  // namespace zelkar::qt
