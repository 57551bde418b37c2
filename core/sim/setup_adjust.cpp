#include "sim/setup_adjust.h"

#include <cmath>

#include "arena/rounding.h"
#include "sim/number_text.h"

namespace zelkar {

float vehicleMass(const GameState& s, int p) {
  const auto& v = s.setting[p];
  return static_cast<float>(double(v[1]) * 10 + double(v[0]) * 622 + double(v[2]) * kFuelMass * 10 +
                            double(v[4]) * v[3]);
}

void setupAdjustment(Game& g, int p) {
  GameState& s = g.s;
  ScreenModel& w = g.screen;
  const int r = s.settingRow[p];
  const auto t = toInt16(static_cast<double>(s.setting[p][r]) + s.settingStep[p]);
  if (t && *t >= 1 && *t <= s.settingMax[r]) {
    s.setting[p][r] = *t;
  } else {
    s.settingStep[p] = 0;  // the adjustment stops until a key sets a new step
  }
  w.setsuuti[7 * p + s.prevSettingRow[p]].foreColor = 0;
  Item& value = w.setsuuti[7 * p + r];
  value.foreColor = kCyan;
  setNumberText(value.caption, s.setting[p][r]);
  s.totalMass[p] = vehicleMass(s, p);
  setNumberText(w.setsuuti[7 * p + 6].caption, std::floor(s.totalMass[p]));
  s.prevSettingRow[p] = static_cast<int16_t>(r);
}

}  // namespace zelkar
