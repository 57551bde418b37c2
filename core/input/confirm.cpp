#include <cmath>

#include "arena/rounding.h"
#include "input/player_actions.h"
#include "sim/armour_rules.h"
#include "sim/number_text.h"
#include "sim/setup_adjust.h"

namespace zelkar {

namespace {
constexpr float kBarrelLength = 4;         // px the shell is driven along
constexpr float kReferenceShellMass = 37;  // kg whose blast fills the blast picture
}  // namespace

void confirmSettings(Game& g, int p) {
  GameState& s = g.s;
  ScreenModel& w = g.screen;
  const double m = s.setting[p][4];         // shell mass, kg
  const double f = s.setting[p][5];         // firing force, N
  const double omega = s.tables().dirStep;  // rad per step of a turning gun
  s.settingRow[p] = kRowInBattle;
  w.settei[p].visible = false;
  // The time the force needs to drive the shell from rest along the barrel.
  s.barrelTime[p] = static_cast<float>(std::sqrt((m + m) * kBarrelLength / f));
  s.muzzleSpeed[p][1] = static_cast<float>(f / m * s.barrelTime[p]);
  // A turning barrel flings the shell out faster: F/(m w) sinh(w t).
  s.muzzleSpeed[p][0] = static_cast<float>(
      f / 2 / m / omega * (std::exp(s.barrelTime[p] * omega) - std::exp(-omega * s.barrelTime[p])));
  s.fuelLeft[p] = static_cast<float>(double(s.setting[p][2]) * 10);
  s.shellsLeft[p] = toInt16Clamped(s.setting[p][3]);
  // Litres per second of thrust: 5100 is the engine's fuel economy constant.
  // This one quotient takes the fuel mass as a single-precision value.
  s.fuelRate[p] = static_cast<float>(double(s.setting[p][1]) * 1000 / kFuelMassSingle / 5100);
  s.armourFull[p] = armourEnergyFor(s.setting[p][0]);
  s.armourLeft[p] = s.armourFull[p];
  s.blastStart[p] = static_cast<int16_t>(
      floorToInt16Clamped(std::pow(static_cast<float>(m / kReferenceShellMass), 1.0 / 3.0) *
                          s.shellBlastWidth) +
      2);
  setNumberText(w.hyosuu[6 * p + 2].caption, s.setting[p][1]);
  w.hyosuu[12 + p].caption = "0";
  w.setsuuti[7 * p + s.prevSettingRow[p]].foreColor = 0;
  // The mass starts from the settings again: a player who fired shells,
  // went back to the base and confirmed before the next set-up adjustment
  // would otherwise keep the lighter mass, and a second load of shells
  // could drive it to zero or below.
  s.totalMass[p] = vehicleMass(s, p);
}

}  // namespace zelkar
