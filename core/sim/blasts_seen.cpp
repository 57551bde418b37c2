#include "sim/blasts_seen.h"

#include <cmath>

#include "app/game.h"

namespace zelkar {

namespace {
constexpr int16_t kSmallestBlast = 2;  // px: a slot below this has stopped exploding
}  // namespace

void captureBlasts(Game& g) {
  for (int p = 0; p < kPlayers; ++p) {
    for (int k = 0; k < kShellSlots; ++k) {
      const int i = 8 * p + k;
      g.blasts.state[i] = g.screen.tamabaku[i].visible ? g.s.shellState[p][k] : int16_t{0};
    }
  }
}

std::optional<double> seenBlastCube(const Game& g, int owner, int slot) {
  const int16_t seen = g.blasts.state[8 * owner + slot];
  const int16_t start = g.s.blastStart[owner];
  if (seen < kSmallestBlast || start <= kSmallestBlast) return std::nullopt;
  const double r = double(seen - kSmallestBlast) / double(start - kSmallestBlast);
  return std::pow(r, 3);
}

}  // namespace zelkar
