// A player the runner asks for keys before every tick: the computer, handed
// in by whoever builds the runner (zelkar-sim's main, the tests), so that
// the runner itself needs only the core and the events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/game.h"

namespace zelkar::sim {

struct SeatKey {
  bool down = true;     // a press (formKeyDown) or a release (formKeyUp)
  int16_t keyCode = 0;  // Windows virtual-key code
};

class Seat {
 public:
  virtual ~Seat() = default;
  // Appends this side's presses and releases for the coming tick to `out`,
  // in the order they are to be sent.
  virtual void decide(const Game& g, std::vector<SeatKey>& out) = 0;
};

// Makes the seat of a `cpu SIDE LEVEL` line: side 0 the right player, 1 the
// left; `seed` the match's seed, the seat's only source of variety.
using SeatMaker = std::function<std::unique_ptr<Seat>(int side, int level, uint32_t seed)>;

}  // namespace zelkar::sim
