// Which of a player's eight controls a pad holds, and the key presses and
// releases that take the player's keys from what the pad held before to
// what it holds now. No SDL and no Qt: the whole layout is here.
//
// Layout: stick or d-pad = the four thrust directions (in set-up: rows up
// and down, steps of -10 and +10); left and right shoulder or trigger = gun
// turn (in set-up: steps of -1 and +1); south face button = confirm, then
// fire; north face button = back to set-up.
#pragma once

#include <cstdint>
#include <vector>

#include "app/game_state.h"
#include "pad/pad_state.h"

namespace zelkar::pad {

// Stick pushes shorter than this, out of 32767, are the stick's own wobble
// and play in a worn pad: about a quarter of the way, the figure SDL's
// documentation suggests.
inline constexpr int kStickDeadZone = 8000;
// A stick already pushed lets go only below this: a thumb resting near the
// edge of the dead zone must not press and release again and again (in
// set-up each new press of up or down moves another row).
inline constexpr int kStickLetGo = 7000;
// A trigger counts as held from half way: a light rest of the finger on
// it must not turn the gun.
inline constexpr int kTriggerPressed = 16384;

// Control numbers, as in the key tables.
enum Control : uint8_t {
  kLeft = 0,
  kRight = 1,
  kUp = 2,
  kDown = 3,
  kFire = 4,
  kTurnMinus = 5,
  kTurnPlus = 6,
  kBack = 7,
};

// Bit c set = control c held.
using ControlSet = uint8_t;

// In battle the stick gives the eight directions of the keys, each owning
// 45 degrees around it. In set-up it gives only the four: up and down move
// between rows and left and right change a value, and a push a little off
// the line must not also move to the next row. There a push keeps its axis
// until the other axis is a third larger (53 degrees off it), so a stick
// held near the diagonal does not flip between value and row. `before` is
// what the pad held at the last read.
ControlSet heldControls(const PadState& pad, bool inSetup, ControlSet before = 0);

struct KeyChange {
  int16_t keyCode = 0;
  bool down = false;
  bool operator==(const KeyChange&) const = default;
};

// The keys one pad holds for one player, and the presses and releases
// that move them on. A held control is a held key: nothing repeats.
class PadKeys {
 public:
  // From what the pad holds now to `now` with the player's codes `keys`:
  // releases first (so that a stick swung from left to right in one read
  // ends thrusting right), then presses, each in control order. A code of
  // 0 is no key (a right player without a keyboard kind) and never sent.
  std::vector<KeyChange> update(ControlSet now, const Arr<int16_t, 8>& keys);
  // The pad is gone: every key it held is let go.
  std::vector<KeyChange> releaseAll();
  bool holdsAny() const { return held_ != 0; }
  ControlSet held() const { return held_; }

 private:
  ControlSet held_ = 0;
  Arr<int16_t, 8> codes_{};  // the code each held control was pressed as
};

}  // namespace zelkar::pad
