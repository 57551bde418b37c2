#include "qt/play_mode.h"

#include "qt/game_host.h"

namespace zelkar::qt {

namespace {

constexpr int16_t kF1 = 112, kF2 = 113;  // virtual-key codes
constexpr int16_t kCtrlOnly = 2;         // shift state: Ctrl alone

}  // namespace

bool isSettingsKey(int16_t keyCode, int16_t shift) { return keyCode == kF1 && shift == kCtrlOnly; }

bool isStopKey(int16_t keyCode, int16_t shift) { return keyCode == kF2 && shift == kCtrlOnly; }

void PlayMode::keyDown(GameHost& host, int16_t keyCode, int16_t shift) {
  host.keyPressed(keyCode, shift);
}

void PlayMode::keyUp(GameHost& host, int16_t keyCode, int16_t shift) {
  host.keyReleased(keyCode, shift);
}

void PlayMode::startClicked(GameHost& host) { host.startPressed(); }

void PlayMode::answered(GameHost& host) { host.answerTyped(); }

}  // namespace zelkar::qt
