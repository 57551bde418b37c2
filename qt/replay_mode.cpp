#include "qt/replay_mode.h"

#include "input/player_keys.h"
#include "qt/game_host.h"
#include "qt/replayer.h"

namespace zelkar::qt {

void ReplayMode::attach(GameHost& host) { replay_.attach(host); }

void ReplayMode::startTimerRan(GameHost& host) {
  if (!host.ended()) replay_.advance(host);
}

void ReplayMode::tickDone(GameHost& host) { replay_.tickRan(host); }

void ReplayMode::keyDown(GameHost& host, int16_t keyCode, int16_t shift) {
  if (!isStopKey(keyCode, shift)) return;
  replay_.stop();
  host.keyPressed(keyCode, shift);
}

}  // namespace zelkar::qt
