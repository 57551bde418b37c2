// A player pressing random keys: the rival the computer player's whole
// matches are played against in the tests.
#pragma once

#include <cstdint>

#include "cpu/cpu_rng.h"
#include "cpu/key_events.h"
#include "input/player_keys.h"

namespace zelkar::testing {

// Its level in playMatch, where 1..3 are the computer's levels.
inline constexpr int kRandomKeys = 0;

// A press or a release on half the ticks, from the first tick on.
class RandomKeys {
 public:
  RandomKeys(int side, uint32_t seed) : p_(side), rng_(seed ^ 0x5A5A5A5Au, side) {}

  cpu::KeyEvents decide(const GameState& s) {
    cpu::KeyEvents out;
    randomKey(out, s, 4);
    return out;
  }

 protected:
  int16_t key(const GameState& s, int c) const { return controlKey(s, p_, c); }

  // One press or release on 2 of `every` ticks.
  void randomKey(cpu::KeyEvents& out, const GameState& s, int every) {
    const int roll = rng_.between(0, every - 1);
    if (roll <= 1) out.push({roll == 0, key(s, rng_.between(0, 7))});
  }

  int p_;
  cpu::CpuRng rng_;
};

}  // namespace zelkar::testing
