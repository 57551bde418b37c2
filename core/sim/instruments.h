// The live read-outs beside the arena (labels hyosuu), rewritten as text
// while a player is in battle. Player p's labels: 6p+0 .. 6p+5, 12+p,
// 14+p and 16+p; hyosuu(2) and hyosuu(8) are not read-outs of the tick.
#pragma once

#include "app/game.h"
#include "sim/vehicle_step.h"

namespace zelkar {

// Acceleration, x and y velocity components, speed of vehicle p. The
// acceleration is what the engine and kinetic friction give while a thrust
// key is held, 0 otherwise. y is shown upwards positive.
void motionReadouts(Game& g, int p, const Drive& d);

// Fuel left, shells left and total mass of vehicle p.
void loadReadouts(Game& g, int p);

// Per cent of vehicle p's armour energy lost; above 100 once it is gone.
void damageReadout(Game& g, int p);

}  // namespace zelkar
