#include "cpu/watch.h"

#include <cmath>

#include "cpu/aim.h"

namespace zelkar::cpu {

namespace {

constexpr float kMemorySeconds = 3;  // s: an average over about this long
// px/s: the computer's own levels drive to their places at 10 to 25 px/s and
// then stand; a player that keeps coming faster than this on average means
// to ram.
constexpr float kRammingPxs = 30;

}  // namespace

void Watch::see(const GameState& s, int p) {
  const int q = 1 - p;
  const Vec towards = centreOf(s, p) - centreOf(s, q);
  const float dist = std::sqrt(dot(towards, towards));
  const float closing = dist > 0 ? dot(velocityOf(s, q), towards) / dist : 0.0f;
  constexpr float kShare = kTickSeconds / kMemorySeconds;  // of the average renewed each tick
  closing_ += (closing - closing_) * kShare;
}

bool Watch::rams() const { return closing_ > kRammingPxs; }

}  // namespace zelkar::cpu
