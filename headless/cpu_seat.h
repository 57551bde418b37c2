// The computer player as a seat of the headless runner.
#pragma once

#include "headless/seat.h"

namespace zelkar::sim {

// What a `cpu SIDE LEVEL` line seats: cpu::Player at that level.
SeatMaker cpuSeats();

}  // namespace zelkar::sim
