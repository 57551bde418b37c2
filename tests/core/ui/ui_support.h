// Shared set-up for the screen tests: the load-time measurements and
// direction tables of a freshly opened main window, and the free-colour
// rule the probes apply.
#pragma once

#include <cmath>
#include <cstdint>

#include "app/game_state.h"
#include "ui/screen_model.h"

namespace zelkar::testing {

// What the load handler measures and tabulates, from the model's own sizes.
inline GameState measuredState(const ScreenModel& m) {
  GameState s;
  s.vehicleSize = m.kyara[0].width;
  s.vehicleRadius = int16_t(s.vehicleSize / 2 + 1);
  s.shellSize = m.houdan[0].width;
  s.shellHalf = int16_t(std::nearbyint(s.shellSize / 2.0));
  s.kitiHalf = int16_t(m.kiti[0].width / 2);
  s.shellColorBase = {0xFFFFF8, 0xFFFFE8};
  for (int p = 0; p < 2; ++p) s.kitiLeft[p] = m.kiti[p].left, s.kitiTop[p] = m.kiti[p].top;
  MatchTables t;
  t.dirStep = 3.1415f / 32;
  const int r = s.vehicleRadius;
  for (int k = 0; k < kDirections; ++k) {
    const float a = float(k) * t.dirStep;
    t.dirCos[k] = float(std::cos(double(a)));
    t.dirSin[k] = float(std::sin(double(a)));
    t.dirTurnX[k] = float(-(r - 2) * t.dirSin[k] * t.dirStep * 0.4);
    t.dirTurnY[k] = float((r - 2) * t.dirCos[k] * t.dirStep * 0.4);
    t.dirLineX[k] = float(r - 2) * t.dirCos[k] + float(r);
    t.dirLineY[k] = float(r - 2) * t.dirSin[k] + float(r);
  }
  s.frozenTables = freeze(t);
  return s;
}

// A colour the contact probes pass over as free space.
inline bool isFreeColour(int32_t c) {
  return c == 0x80FF80 || c == 0 || c == 0xFFFF00 || c == 0xFEFEFE || (c & 0xFFFFE8) == 0xFFFFE8 ||
         c == int32_t(0xFFFFFFFF);
}

inline int colourCode(int32_t c) { return (c >> 16) & 0x3F; }

}  // namespace zelkar::testing
