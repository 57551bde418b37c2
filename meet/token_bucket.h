// A token bucket: `rate` tokens a second up to `burst`, one taken per
// request. Time comes from the caller, in milliseconds, so tests need no
// clock.
#pragma once

#include <algorithm>
#include <cstdint>

namespace zelkar::meet {

struct TokenBucket {
  double tokens = 0;
  int64_t lastMs = 0;

  static TokenBucket full(double burst, int64_t nowMs) { return {burst, nowMs}; }

  bool take(double rate, double burst, int64_t nowMs) {
    // A clock that steps back adds nothing rather than going negative.
    if (nowMs > lastMs) {
      tokens = std::min(burst, tokens + rate * double(nowMs - lastMs) / 1000.0);
      lastMs = nowMs;
    }
    if (tokens < 1) return false;
    tokens -= 1;
    return true;
  }
};

}  // namespace zelkar::meet
