#include "sim/blasts_seen.h"

#include <cmath>

#include "app/game.h"

namespace zelkar {

namespace {
constexpr int16_t kSmallestBlast = 2;  // px: a slot below this has stopped exploding
}  // namespace

void captureBlasts(Game& g) {
  const GameState& s = g.s;
  for (int p = 0; p < kPlayers; ++p) {
    for (int k = 0; k < kShellSlots; ++k) {
      const int i = 8 * p + k;
      const bool drawn = g.screen.tamabaku[i].visible;
      g.blasts.state[i] = drawn ? s.shellState[p][k] : int16_t{0};
      g.blasts.start[i] = drawn ? s.blastDrawnStart[p][k] : int16_t{0};
      g.blasts.mass[i] = drawn ? s.blastDrawnMass[p][k] : 0.0f;
    }
  }
}

std::optional<double> seenBlastCube(const Game& g, int owner, int slot) {
  const int i = 8 * owner + slot;
  const int16_t seen = g.blasts.state[i];
  const int16_t start = g.blasts.start[i];
  if (seen < kSmallestBlast || start <= kSmallestBlast) return std::nullopt;
  const double r = double(seen - kSmallestBlast) / double(start - kSmallestBlast);
  return std::pow(r, 3);
}

float seenBlastMass(const Game& g, int owner, int slot) { return g.blasts.mass[8 * owner + slot]; }

}  // namespace zelkar
