// --replay FILE: the file's events are played between the game's own
// ticks; the players only watch, but Ctrl+F2 stops the match and with it
// the replay, whose next events belong to the match it stopped.
#pragma once

#include "qt/play_mode.h"

namespace zelkar::qt {

class Replayer;

class ReplayMode : public PlayMode {
 public:
  explicit ReplayMode(Replayer& replay) : replay_(replay) {}

  void attach(GameHost& host) override;
  void startTimerRan(GameHost& host) override;
  void tickDone(GameHost& host) override;
  bool takesPlayers() const override { return false; }
  void keyDown(GameHost& host, int16_t keyCode, int16_t shift) override;
  void keyUp(GameHost&, int16_t, int16_t) override {}

 private:
  Replayer& replay_;
};

}  // namespace zelkar::qt
