// B7: a player's shells. The state loop flies them, lets them leave the
// field and plays their shrinking blasts; the hit loop reads the pixel just
// ahead of each flying shell and bursts it on anything but free space.
#pragma once

#include "app/game.h"

namespace zelkar {

void shellStateLoop(Game& g, int p);
void shellHitLoop(Game& g, int p);

}  // namespace zelkar
