#include <cmath>

#include "app/game.h"
#include "arena/arena.h"
#include "arena/rounding.h"

namespace zelkar {

void kabesyoki(Game& g) {
  GameState& s = g.s;
  // 10 to 34 walls; the image kabe(34) is never used.
  s.lastWall = floorToInt16Clamped(g.rng.next() * 25.0 + 9.0);
  for (int i = 0; i <= s.lastWall; ++i) {
    float x = 0, y = 0;
    for (;;) {
      x = static_cast<float>(std::floor(double(g.rng.next()) * s.fieldWidth));
      y = static_cast<float>(std::floor(double(g.rng.next()) * s.fieldHeight));
      // Only the corner is tested, not the wall's size.
      bool clear = true;
      for (int p = 0; p < kPlayers; ++p) {
        const float dx = x - s.kitiLeft[p] - 8;
        const float dy = y - s.kitiTop[p] - 8;
        if (dx * dx + dy * dy < kStartClearance2) clear = false;
      }
      if (clear) break;
    }
    s.kabeLeft[i] = toInt16Clamped(x);
    s.kabeTop[i] = toInt16Clamped(y);
    // Half of 50 % to 100 % of the picture: 8 to 15 px for wallHalf 16.
    s.kabeHalf[i] = floorToInt16Clamped((g.rng.next() * 0.5 + 0.5) * s.wallHalf);
    const int16_t side = static_cast<int16_t>(2 * s.kabeHalf[i]);
    g.screen.kabe[i].move(s.kabeLeft[i], s.kabeTop[i], side, side);
  }
}

}  // namespace zelkar
