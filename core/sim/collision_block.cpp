#include "sim/collision_block.h"

#include <cmath>

namespace zelkar {

double blastFraction(const GameState& s, int o, int slot) {
  const int start = s.blastStart[o];
  if (start <= 2) return 0;
  const double r = double(s.shellState[o][slot] - 2) / double(start - 2);
  return std::pow(r, 3);
}

}  // namespace zelkar
