// Collision responses. Each works on the collision parameter block of the
// game record (colX1 .. colCoef): the caller loads the block, calls, and
// reads the changed members back. The tick owns everything else a contact
// does (armour, sounds, moving sprites, advancing the bodies).
#pragma once

#include "app/game_state.h"

namespace zelkar {

// Two movable discs strike each other: the velocity components along the
// line of centres are exchanged with restitution colCoef, the tangential
// ones stay. Writes colVx1, colVy1, colVx2, colVy2.
void syoutotu(GameState& s);

// Disc 1 bounces off the fixed disc 2 (a wall or base) with restitution
// colCoef. Writes colVx1, colVy1.
void kabesyoutotu(GameState& s);

// A shell (disc 1, radius shellHalf) has struck disc 2: both are wound back
// to the instant their discs touched, and disc 2 is pushed away from the
// shell with colCoef of the explosive energy of the owner's shell mass
// setting[owner][4]. Writes the four positions (contact instant) and
// colVx2, colVy2.
void houdansyoutotu(GameState& s, int owner);

// A spreading shell explosion (corner colX1, colY1; shell mass colMass1)
// pushes disc 2 with colCoef of its explosive energy. Leaves the two
// centres in the position members and writes colVx2, colVy2.
void bakuhasyoutotu(GameState& s);

}  // namespace zelkar
