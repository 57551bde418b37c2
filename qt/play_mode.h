// What sets the window's ways of playing apart: a match on this keyboard
// (with or without computer players), a replay, an online match and the
// sync test. GameHost does all they share (the game, the windows, the
// recording, the paint) and asks its mode at the few moments they differ;
// each mode is one small class of its own.
#pragma once

#include <cstdint>

#include "events/script.h"

namespace zelkar {
struct Game;
}

namespace zelkar::qt {

class GameHost;

class PlayMode {
 public:
  virtual ~PlayMode() = default;

  // Before load, once the windows exist.
  virtual void attach(GameHost&) {}
  // The main window has loaded with this seed and is about to show.
  virtual void loaded(GameHost&, uint32_t /*seed*/) {}

  // Whether the window's own game and timers make what is shown. Online,
  // once the peer is there, the session's game is shown and its clock runs.
  virtual bool runsTheGame() const { return true; }
  virtual void startTimerRan(GameHost&) {}
  virtual void beforeTick(GameHost&) {}
  // A tick has run; then it has been written to the recording and the
  // hash list, and the next events may come.
  virtual void tickRan(GameHost&) {}
  virtual void tickDone(GameHost&) {}

  // Whether the players' keys and clicks reach the game at all (a replay
  // only lets Ctrl+F2 through, in keyDown).
  virtual bool takesPlayers() const { return true; }
  virtual void keyDown(GameHost& host, int16_t keyCode, int16_t shift);
  virtual void keyUp(GameHost& host, int16_t keyCode, int16_t shift);
  // The start button and a typed answer, the widgets already read into
  // the window's own game.
  virtual void startClicked(GameHost& host);
  virtual void answered(GameHost& host);

  // An event the game has just handled, as a recording holds it.
  virtual void handled(GameHost&, const sim::Command&) {}
  // The game as shown after a handler or a new frame.
  virtual void showing(GameHost&, const Game&) {}
  // The start panel's choices are this player's own, not the shown game's:
  // the widgets keep what was clicked and typed there.
  virtual bool panelChoicesOwn(const Game&) const { return false; }
};

}  // namespace zelkar::qt
