// The virtual-key codes of one player's eight controls, in control order:
// left, right, up, down, fire, turn -, turn +, back to set-up. Other ways
// of playing (game controllers) press exactly these codes, so the key
// handlers, replays and state hashes need to know nothing about them.
#pragma once

#include <cstdint>

#include "app/game_state.h"

namespace zelkar {

// The left player's fixed letter keys: A D W S X Z C Q.
inline constexpr Arr<int16_t, 8> kLeftPlayerKeys = {65, 68, 87, 83, 88, 90, 67, 81};

// Player 0 (right) uses the configurable table, all zero when the keyboard
// kind in config.txt was neither 0 nor 1; player 1 (left) the letter keys.
inline Arr<int16_t, 8> playerKeyCodes(const GameState& s, int p) {
  return p == 0 ? s.rightKeys : kLeftPlayerKeys;
}

}  // namespace zelkar
