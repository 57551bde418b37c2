// The state hash after every tick, one "TICK HASH" line each, exactly as
// zelkar-sim --dump hash prints them: a window run and a headless run of
// the same events give the same file, and a diff shows the first tick where
// they part.
#pragma once

#include <QString>
#include <cstdint>

#include "app/game.h"
#include "qt/line_file.h"

namespace zelkar::qt {

class HashLog {
 public:
  explicit HashLog(const QString& path);
  ~HashLog();

  bool isOpen() const { return file_.isOpen(); }
  bool failed() const { return file_.failed(); }
  // Flushes and closes; true when every line reached the file.
  bool finish() { return file_.finish(); }
  const QString& error() const { return file_.error(); }

  // Timer1 ran timer1Timer once more and left `g` so.
  void tickRan(const Game& g);
  int64_t ticks() const { return ticks_; }

 private:
  LineFile file_;
  int64_t ticks_ = 0;
};

}  // namespace zelkar::qt
