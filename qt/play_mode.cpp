#include "qt/play_mode.h"

#include "qt/game_host.h"

namespace zelkar::qt {

void PlayMode::keyDown(GameHost& host, int16_t keyCode, int16_t shift) {
  host.keyPressed(keyCode, shift);
}

void PlayMode::keyUp(GameHost& host, int16_t keyCode, int16_t shift) {
  host.keyReleased(keyCode, shift);
}

void PlayMode::startClicked(GameHost& host) { host.startPressed(); }

void PlayMode::answered(GameHost& host) { host.answerTyped(); }

}  // namespace zelkar::qt
