// The two one-shot actions of a player's keys, done at once when the key
// is pressed: confirming the settings, and firing a shell.
#pragma once

#include "app/game.h"

namespace zelkar {

// The player enters battle with the derived values of the settings.
void confirmSettings(Game& g, int p);
// A shell leaves the muzzle into the free slot the last tick found.
void fireShell(Game& g, int p);
// Back to the settings panel, only while the vehicle stands on its base.
void backToSetup(Game& g, int p);

}  // namespace zelkar
