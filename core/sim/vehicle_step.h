// The battle step of one vehicle: its own dynamics, then shells, contacts
// and read-outs in the order of the tick.
#pragma once

#include "app/game.h"

namespace zelkar {

// What the first steps work out for the vehicle being stepped and the
// later ones of the same step use; nothing of it outlives the step.
struct Drive {
  float engineAccel = 0;   // px/s^2 the engine gives, less static friction
  float frictionX = 0;     // px/s^2 of kinetic friction, x
  float frictionY = 0;     // px/s^2, y
  float kineticInUse = 0;  // px/s^2 of kinetic friction acting, for the read-out
};

// B1: fuel burn and engine acceleration; an empty tank leads to the stall check.
void burnFuel(Game& g, int p, Drive& d);
// B2: static friction eats into the engine, kinetic friction slows the slide.
void applyFriction(GameState& s, int p, Drive& d);
// B3 and B4: thrust along the held direction; a diagonal is as strong as a straight.
void accelerate(GameState& s, int p, const Drive& d);
// B5: integrate the position; the arena's edges reflect without loss.
void moveInField(GameState& s, int p);
// B10: the vehicle's picture follows its position.
void placeSprite(Game& g, int p);
// B11: the gun turns one step every second tick.
void turnGun(Game& g, int p);

}  // namespace zelkar
