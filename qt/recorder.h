// Writes a match as a replay file while it is played: the format line, then
// one script line for every event the game handled, the ticks between two
// events counted into `tick N` lines. zelkar-sim --script plays the file as
// the same match, and zelkar --replay plays it back in the window.
#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

#include "events/script.h"
#include "qt/line_file.h"

namespace zelkar::qt {

class Recorder {
 public:
  // Creates or empties the file and writes the format line.
  explicit Recorder(const QString& path);
  // The ticks since the last event make the last line.
  ~Recorder();

  bool isOpen() const { return file_.isOpen(); }
  // A write failed after the file was opened (told on standard error).
  bool failed() const { return file_.failed(); }
  const QString& error() const { return file_.error(); }

  // An event, after the ticks that ran before it; on disk at once.
  void write(const sim::Command& command);
  // A line that replays skip: what the format cannot say.
  void comment(std::string_view text);
  // Timer1 ran timer1Timer once more.
  void tickRan();
  // The ticks still counted go out and the file is closed; true when every
  // line reached it. Nothing is written after this.
  bool finish();

 private:
  void writeTicks();

  LineFile file_;
  int64_t pendingTicks_ = 0;
};

}  // namespace zelkar::qt
