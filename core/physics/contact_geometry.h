// Angles and the push shared by the collision responses.
#pragma once

#include "app/game_state.h"

namespace zelkar::contact {

// The game's right angle and half turn, rad. Deliberately not pi/2 and pi:
// every angle of the game uses these values, so their small error is part
// of how bodies bounce. The axis of the two-disc and wall exchanges takes
// the right angle in single precision; a push direction takes it as the
// double it is written as.
inline constexpr float kQuarterTurn = 1.57075f;
inline constexpr double kQuarterTurnDouble = 1.57075;
inline constexpr double kHalfTurn = 3.1415;

// Energy units of explosive per unit of shell mass.
inline constexpr double kExplosiveEnergyPerMass = 3876000.0;

// Axis of the line from (0, 0) to (dx, dy), in (-pi/2, pi/2]. An exchange
// along a line does not care about its sense, so no quadrant correction;
// dx = dy = 0 (coincident centres) gives 0, the x axis.
double lineAxis(float dx, float dy);

// The squares and product of the cosine and sine of the line of centres of
// the two discs in the collision parameter block (corners plus radii),
// single-precision centres, double-precision trigonometry.
struct Axis {
  double cc, ss, cs;
};
Axis axisOfCentres(const GameState& s);

// Direction from (0, 0) towards (dx, dy): the axis turned by a half turn
// when the target lies to the left; straight above or below is the
// game's right angle.
double lineDirection(double dx, double dy);

// Velocity of a body after a push of `pushEnergy` along the direction
// theta (away from the source): the normal kinetic energy grows by it, or
// shrinks by it when the body moves towards the source (and the normal
// motion reverses once the push exceeds it). The tangential speed is kept
// in single precision when `tangentialSingle` is set. A body without
// positive mass cannot take the energy and keeps its velocity.
void push(double theta, float mass, double pushEnergy, bool tangentialSingle, float& vx, float& vy);

}  // namespace zelkar::contact
