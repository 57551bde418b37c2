// What armour a vehicle enters battle with, and what a shell striking it
// takes: the set-up, the shells and anyone judging a fight ask here.
#pragma once

#include <cmath>

namespace zelkar {

inline constexpr float kArmourEnergyPerMm2 = 18400;  // armour energy per squared mm of thickness
inline constexpr double kShellArmourTerm = 3100800;  // 0.8 of the explosive energy per unit of mass

// Armour energy of a vehicle whose armour is `thicknessMm` thick.
inline float armourEnergyFor(float thicknessMm) {
  return static_cast<float>(std::pow(thicknessMm, 2) * kArmourEnergyPerMm2);
}

// Armour energy a shell of `shellMassKg` striking at speed squared
// `speedSq` (px/s squared) takes: its kinetic energy and its explosive term.
inline double shellStrikeEnergy(double shellMassKg, double speedSq) {
  return shellMassKg * (speedSq / 2 + kShellArmourTerm);
}

}  // namespace zelkar
