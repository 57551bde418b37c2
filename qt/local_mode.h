// A match on this keyboard: the players' events go straight to the game,
// and computer players, when seated, add their keys before each tick.
#pragma once

#include "qt/play_mode.h"

namespace zelkar::qt {

class CpuSeats;

class LocalMode : public PlayMode {
 public:
  // `cpu` may be null: people only.
  explicit LocalMode(CpuSeats* cpu) : cpu_(cpu) {}

  void beforeTick(GameHost& host) override;
  void showing(GameHost& host, const Game& shown) override;

 private:
  CpuSeats* cpu_;
};

}  // namespace zelkar::qt
