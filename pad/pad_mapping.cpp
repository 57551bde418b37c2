#include "pad/pad_mapping.h"

#include <cstdlib>

namespace zelkar::pad {

namespace {

constexpr ControlSet bit(Control c) { return ControlSet(1u << c); }

// tan(22.5 degrees) in thousandths: a component counts once it is more
// than this share of the other one, which splits the circle into eight
// sectors of 45 degrees centred on the eight directions.
constexpr int64_t kTan22_5PerMille = 414;

ControlSet stickControls(const PadState& pad, bool inSetup, ControlSet before) {
  const int64_t x = pad.stickX, y = pad.stickY;
  const bool wasSideways = (before & (bit(kLeft) | bit(kRight))) != 0;
  const bool wasUpDown = (before & (bit(kUp) | bit(kDown))) != 0;
  const int64_t radius = wasSideways || wasUpDown ? kStickLetGo : kStickDeadZone;
  if (x * x + y * y < radius * radius) return 0;
  const int64_t ax = std::llabs(x), ay = std::llabs(y);
  bool horizontal, vertical;
  if (!inSetup) {
    horizontal = ax * 1000 > ay * kTan22_5PerMille;
    vertical = ay * 1000 > ax * kTan22_5PerMille;
  } else if (wasSideways != wasUpDown) {
    // Four sectors with a margin: the axis held stays until the other
    // one is 4/3 of it.
    horizontal = wasSideways ? ax * 4 >= ay * 3 : ax * 3 > ay * 4;
    vertical = !horizontal;
  } else {
    // Four sectors of 90 degrees; the exact diagonal counts as sideways.
    horizontal = ax >= ay;
    vertical = !horizontal;
  }
  ControlSet out = 0;
  if (horizontal) out |= x < 0 ? bit(kLeft) : bit(kRight);
  if (vertical) out |= y < 0 ? bit(kUp) : bit(kDown);
  return out;
}

}  // namespace

ControlSet heldControls(const PadState& pad, bool inSetup, ControlSet before) {
  ControlSet out = stickControls(pad, inSetup, before);
  if (pad.dpadLeft) out |= bit(kLeft);
  if (pad.dpadRight) out |= bit(kRight);
  if (pad.dpadUp) out |= bit(kUp);
  if (pad.dpadDown) out |= bit(kDown);
  if (pad.south) out |= bit(kFire);
  if (pad.leftShoulder || pad.leftTrigger >= kTriggerPressed) out |= bit(kTurnMinus);
  if (pad.rightShoulder || pad.rightTrigger >= kTriggerPressed) out |= bit(kTurnPlus);
  if (pad.north) out |= bit(kBack);
  return out;
}

std::vector<KeyChange> PadKeys::update(ControlSet now, const Arr<int16_t, 8>& keys) {
  std::vector<KeyChange> out;
  for (int c = 0; c < 8; ++c) {
    const ControlSet b = ControlSet(1u << c);
    // A control whose code changed (the keyboard kind was switched while
    // it was held) is let go under its old code and pressed under the new.
    const bool stale = (held_ & b) && codes_[c] != keys[c];
    if ((held_ & b) && (!(now & b) || stale)) {
      if (codes_[c] != 0) out.push_back({codes_[c], false});
      held_ &= ControlSet(~b);
    }
  }
  for (int c = 0; c < 8; ++c) {
    const ControlSet b = ControlSet(1u << c);
    if ((now & b) && !(held_ & b)) {
      if (keys[c] != 0) out.push_back({keys[c], true});
      held_ |= b;
      codes_[c] = keys[c];
    }
  }
  return out;
}

std::vector<KeyChange> PadKeys::releaseAll() { return update(0, codes_); }

}  // namespace zelkar::pad
