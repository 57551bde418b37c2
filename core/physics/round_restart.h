// A destroyed vehicle's explosion, and the restart of play after a round.
#pragma once

#include "app/game.h"

namespace zelkar {

// Vehicle `dotti` explodes: its picture goes, a shrinking blast and the
// big explosion sound take its place.
void explodeVehicle(Game& g, int dotti);

// After the destruction of subjectPlayer's vehicle: both vehicles back on
// their bases, the destroyed player back in the settings panel.
void bakuhago(Game& g);

// After a stalled round: the same, with both players back in set-up.
void bakuhago2(Game& g);

}  // namespace zelkar
