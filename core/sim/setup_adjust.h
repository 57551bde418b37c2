// The set-up phase of a player: the selected setting changes by the step
// the keys chose, every 16th tick, within its limits.
#pragma once

#include "app/game.h"

namespace zelkar {

inline constexpr float kFuelMass = 0.4193f;  // kg per litre; the capacity counts tens of litres

// 622 kg per mm of armour, 10 kg per kN of engine, the fuel and the shells
// carried; the firing force weighs nothing.
float vehicleMass(const GameState& s, int p);

void setupAdjustment(Game& g, int p);

}  // namespace zelkar
