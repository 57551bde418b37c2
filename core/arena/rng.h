// The game's only random generator. It lives in the Game value, never in a
// global, so two games with the same seed draw the same numbers.
#pragma once

#include <cstdint>

namespace zelkar {

class Rng {
 public:
  explicit Rng(uint32_t seed = 0) : state_(seed & kMask) {}

  // Uniform in [0, 1) as single precision: a 24-bit state divides exactly.
  float next() {
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & kMask;
    return static_cast<float>(state_) / 16777216.0f;
  }
  uint32_t state() const { return state_; }
  void seed(uint32_t s) { state_ = s & kMask; }

 private:
  static constexpr uint32_t kMask = 0xFFFFFFu;  // the generator works modulo 2^24
  uint32_t state_;
};

}  // namespace zelkar
