#include "headless/cpu_seat.h"

#include "cpu/player.h"

namespace zelkar::sim {

namespace {

class CpuSeat : public Seat {
 public:
  CpuSeat(int side, int level, uint32_t seed) : player_(side, level, seed) {}
  void decide(const Game& g, std::vector<SeatKey>& out) override {
    for (const cpu::KeyEvent& e : player_.decide(g)) out.push_back({e.down, e.keyCode});
  }

 private:
  cpu::Player player_;
};

}  // namespace

SeatMaker cpuSeats() {
  return [](int side, int level, uint32_t seed) -> std::unique_ptr<Seat> {
    return std::make_unique<CpuSeat>(side, level, seed);
  };
}

}  // namespace zelkar::sim
