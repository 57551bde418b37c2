// The end of a round: destroyed vehicles and stalled rounds.
#pragma once

#include "app/game.h"

namespace zelkar {

// Vehicle v is destroyed, the point goes to the other player; at 10 points
// the match ends (g.awaitingAnswer), otherwise the round restarts.
void destroyVehicle(Game& g, int v);

// B1's stall check for player p whose tank is empty: counts the steps in
// which neither vehicle can move or fire; past the limit both score.
void stallCheck(Game& g, int p);

}  // namespace zelkar
