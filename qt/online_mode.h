// --host / --join: the players' keys, the host's start button and the
// answers go to the session, and once the peer is there the window shows
// the session's game, which it only reads. Ctrl+F1 changes this machine's
// sound switch and keys, never the shared game.
#pragma once

#include "qt/play_mode.h"

class QLabel;

namespace zelkar::qt {

class NetPlay;

class OnlineMode : public PlayMode {
 public:
  explicit OnlineMode(NetPlay& net) : net_(net) {}

  void attach(GameHost& host) override;
  void loaded(GameHost& host, uint32_t seed) override;
  bool runsTheGame() const override;
  void keyDown(GameHost& host, int16_t keyCode, int16_t shift) override;
  void keyUp(GameHost& host, int16_t keyCode, int16_t shift) override;
  void startClicked(GameHost& host) override;
  void answered(GameHost& host) override;
  void showing(GameHost& host, const Game& shown) override;
  bool panelChoicesOwn(const Game& shown) const override;

 private:
  NetPlay& net_;
  QLabel* hostStarts_ = nullptr;  // the joiner's note below its start panel
};

}  // namespace zelkar::qt
