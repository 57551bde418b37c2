// What the computer has seen of the other player's play, kept as a running
// average of what the screen shows: how fast the other vehicle comes at it.
#pragma once

#include "app/game_state.h"

namespace zelkar::cpu {

class Watch {
 public:
  // One more tick seen by player p, the other vehicle in battle.
  void see(const GameState& s, int p);

  // px/s: the other's speed towards this vehicle, on average over the last
  // few seconds (negative while it draws away).
  float closingPxs() const { return closing_; }
  // Whether it drives at this vehicle: far faster than any player moving
  // to a place to shoot from.
  bool rams() const;

 private:
  float closing_ = 0;
};

}  // namespace zelkar::cpu
