// What a level sets up against the vehicle it has seen: its own liking,
// and, with set-up sense, heavier shells against thick armour and a
// stronger engine against a stronger one.
#pragma once

#include <array>

#include "cpu/level.h"

namespace zelkar::cpu {

// What a player sees of the other vehicle: its set-up panel while it is
// open, and the engine output among the instruments.
struct Opponent {
  float armourMm = 10;  // the panel's start value until the panel shows another
  float engineKn = 100;
};

// The rows of the set-up panel a player of `traits` wants against what it has `seen`.
std::array<float, 6> settingsAgainst(const LevelTraits& traits, const Opponent& seen);

}  // namespace zelkar::cpu
