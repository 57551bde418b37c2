// Each player of an online match has a whole keyboard, so the keys of
// either player on this machine drive this machine's side. A key is turned
// into its control (left, right, up, down, fire, turn -, turn +, back) and
// then into the key of that control for the side in the shared game.
#pragma once

#include <array>
#include <cstdint>

#include "app/game_state.h"
#include "input/player_keys.h"

namespace zelkar::net {

// The virtual-key code of each control; the tables themselves, and the
// right player's for a keyboard kind, are the core's (input/player_keys.h).
using KeyTable = Arr<int16_t, kControls>;

// The control of a key of either player on this machine, or -1.
int controlOfKey(int16_t keyCode, const KeyTable& localRight);

// The key of `control` for the left or right side in the shared game
// (whose right-hand table is the host's); 0 when that side has none.
int16_t keyOfSide(const GameState& s, bool leftSide, int control);

// Whether `keyCode` is a key of that side in the shared game: a peer may
// only press its own side's keys.
bool isKeyOfSide(const GameState& s, bool leftSide, int16_t keyCode);

}  // namespace zelkar::net
