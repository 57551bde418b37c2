// The obstacles' probe directions, remembered. An obstacle keeps its
// velocity from one tick to the next until it bounces or is pushed, and the
// direction its probe starts from (an arc tangent) follows from that
// velocity alone; so the direction is kept with the exact bits of the
// velocity and the angle unit it came from and worked out again only when
// one of them differs. Being a function of those bits, it gives what
// probeDirection gives whatever game or tick filled it: a saved game
// leaves it out, as it leaves out the rest of the tick's view.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "app/game_state.h"

namespace zelkar {

class ProbeDirections {
 public:
  // probeDirection(vx, vy, unit, quarter) for obstacle t.
  int16_t of(int t, float vx, float vy, float unit, int16_t quarter);

 private:
  struct Known {
    uint32_t vx = 0, vy = 0, unit = 0;  // float bits
    int16_t quarter = 0;                // ring indices; 0 until worked out once
    int16_t direction = 0;              // ring index
  };
  std::array<Known, kObstacles> known_{};
};

}  // namespace zelkar
