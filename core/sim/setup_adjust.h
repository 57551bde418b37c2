// The set-up phase of a player: the selected setting changes by the step
// the keys chose, every 16th tick, within its limits.
#pragma once

#include "app/game.h"

namespace zelkar {

// kg per litre; the capacity counts tens of litres. A double like every
// constant the mass sums use; only the fuel rate holds it in single
// precision (kFuelMassSingle).
inline constexpr double kFuelMass = 0.4193;
inline constexpr float kFuelMassSingle = 0.4193f;

// 622 kg per mm of armour, 10 kg per kN of engine, the fuel and the shells
// carried; the firing force weighs nothing.
float vehicleMass(const GameState& s, int p);

void setupAdjustment(Game& g, int p);

}  // namespace zelkar
