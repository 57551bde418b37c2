// The virtual-key codes of the players' controls and of the window keys.
// Other ways of playing (game controllers, the computer, the other machine
// online) press exactly these codes, so the key handlers, replays and
// state hashes need to know nothing about them; they ask here rather than
// keep tables of their own.
#pragma once

#include <cstdint>

#include "app/game_state.h"

namespace zelkar {

// A player's eight controls, in the order of the key tables.
enum Control { kLeft, kRight, kUp, kDown, kFire, kTurnMinus, kTurnPlus, kBack };
inline constexpr int kControls = 8;

// The left player's fixed letter keys: A D W S X Z C Q.
inline constexpr Arr<int16_t, kControls> kLeftPlayerKeys = {65, 68, 87, 83, 88, 90, 67, 81};
// The right player's tables: keyboard kind 0 the letter keys right of the
// left player's (named as a JIS board labels them), kind 1 the keypad.
inline constexpr Arr<int16_t, kControls> kLetterKeys = {76, 186, 80, 187, 191, 190, 226, 192};
inline constexpr Arr<int16_t, kControls> kKeypadKeys = {100, 102, 104, 101, 98, 97, 99, 105};

// The right player's keys for a keyboard kind; none (all zero) for a kind
// that is neither.
constexpr Arr<int16_t, kControls> rightPlayerKeys(int16_t keypadMode) {
  if (keypadMode == 0) return kLetterKeys;
  if (keypadMode == 1) return kKeypadKeys;
  return {};
}

// Player 0 (right) uses the configurable table, all zero when the keyboard
// kind in config.txt was neither 0 nor 1; player 1 (left) the letter keys.
inline Arr<int16_t, kControls> playerKeyCodes(const GameState& s, int p) {
  return p == 0 ? s.rightKeys : kLeftPlayerKeys;
}

// The key of control c (0..7) for player p in this game.
inline int16_t controlKey(const GameState& s, int p, int c) { return playerKeyCodes(s, p)[c]; }

// The window keys, held with Ctrl alone: Ctrl+F1 opens the settings
// window, Ctrl+F2 stops the match and shows the start panel.
inline constexpr int16_t kVkF1 = 112, kVkF2 = 113;
inline constexpr int16_t kShiftCtrlOnly = 2;  // shift state: 1 Shift, 2 Ctrl, 4 Alt
constexpr bool isSettingsKey(int16_t keyCode, int16_t shift) {
  return keyCode == kVkF1 && shift == kShiftCtrlOnly;
}
constexpr bool isStopKey(int16_t keyCode, int16_t shift) {
  return keyCode == kVkF2 && shift == kShiftCtrlOnly;
}

}  // namespace zelkar
