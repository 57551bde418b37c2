// B8: the contact probe of a vehicle and the handling of what it found.
// Eight points around the vehicle are read back from the arena: four ahead
// of and beside its motion at its new place, four opposite them at its
// place when the tick began. At most one contact is handled a tick.
#pragma once

#include "app/game.h"

namespace zelkar {

void contactProbe(Game& g, int p);

// The rows of the dispatch, one per kind of contact (contact_rows.cpp).
void vehicleCollision(Game& g, int p);                       // V: the other vehicle
void explosionContact(Game& g, int p, int owner, int slot);  // E: a shell's blast
void wallContact(Game& g, int p, int w);                     // W: a wall
void obstacleContact(Game& g, int p, int t);                 // O: a moving obstacle
void baseContact(Game& g, int p, int b);                     // B: the other player's base

// Direction of motion as a ring index (ring index 0 lies straight up, so
// the probe starts a quarter turn counter-clockwise of the motion).
int16_t probeDirection(float vx, float vy, float unit, int16_t quarter);

}  // namespace zelkar
