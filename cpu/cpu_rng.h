// The computer player's own generator. The game's generator belongs to the
// match and its state is hidden from the players, so any variety in the
// computer's play comes from here, seeded from the match's seed.
#pragma once

#include <cstdint>

namespace zelkar::cpu {

class CpuRng {
 public:
  // The side is mixed in so that two computer players of one match differ.
  CpuRng(uint32_t seed, int side) : state_((seed ^ 0x9E3779B9u * (side + 1u)) | 1u) {
    for (int i = 0; i < 4; ++i) next();  // spread nearby seeds apart
  }

  // xorshift32: small, fast, and the same on every machine.
  uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // Uniform in [lo, hi], both ends included.
  int between(int lo, int hi) {
    return lo + static_cast<int>(next() % static_cast<uint32_t>(hi - lo + 1));
  }

 private:
  uint32_t state_;
};

}  // namespace zelkar::cpu
