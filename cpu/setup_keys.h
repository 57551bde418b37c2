// Set-up: walks the settings panel to the chosen values and confirms.
#pragma once

#include <array>

#include "app/game_state.h"
#include "cpu/key_events.h"

namespace zelkar::cpu {

// The keys of one tick for player p in set-up (settingRow below 6): move to
// the first row that differs from `wanted`, hold the coarse (10) or fine
// (1) step towards it, release on arrival, confirm when every row is right.
// Values outside 1..settingMax are taken as the nearest bound. Without
// `mayConfirm` it waits, settings done, instead of confirming.
void setupKeys(KeyEvents& out, const GameState& s, int p, const std::array<float, 6>& wanted,
               bool mayConfirm = true);

}  // namespace zelkar::cpu
