#include "cpu/setup_choice.h"

#include <algorithm>
#include <cmath>

#include "sim/armour_rules.h"

namespace zelkar::cpu {

namespace {

constexpr int kShellMassRow = 4;
constexpr int kEngineRow = 1;
constexpr int kForceRow = 5;
constexpr float kHitsWanted = 2;     // strikes a round should need at most
constexpr float kMinShellPxs = 40;   // px/s: slower shells miss anything that moves
constexpr float kBarrelPx = 4;       // px the force drives a shell along the barrel
constexpr float kMaxEngineKn = 300;  // the panel's top value

}  // namespace

std::array<float, 6> settingsAgainst(const LevelTraits& traits, const Opponent& seen) {
  std::array<float, 6> rows = traits.settings;
  if (!traits.setupSense) return rows;
  // The lightest shell that destroys the armour seen in kHitsWanted strikes
  // (the strike's speed adds little), but not one so heavy that it crawls:
  // a shell leaves at sqrt(2 * barrel * force / mass).
  const double armour = armourEnergyFor(seen.armourMm);
  const double perKg = shellStrikeEnergy(1, 0);
  const float wanted = static_cast<float>(std::floor(armour / (kHitsWanted * perKg)) + 1);
  const float heaviest =
      std::floor(2 * kBarrelPx * rows[kForceRow] / (kMinShellPxs * kMinShellPxs));
  rows[kShellMassRow] = std::clamp(wanted, rows[kShellMassRow], std::max(heaviest, 1.0f));
  // A stronger engine than ours would catch us and dodge us: match it.
  rows[kEngineRow] = std::clamp(seen.engineKn, rows[kEngineRow], kMaxEngineKn);
  return rows;
}

}  // namespace zelkar::cpu
