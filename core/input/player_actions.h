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

// Whether player p's vehicle stands on its own base, its centre within
// 2 px of the base's: only then does the back-to-set-up key act.
bool onOwnBase(const GameState& s, int p);

// Where and how fast a shell of player p would leave the muzzle now with
// the gun in direction `gunDir` turning `turnDir` (-1, 0, +1): the centre
// of the shell's start (its top-left corner is half a shell less) and its
// velocity, in double before the store rounds them to float.
struct ShellLaunch {
  double centreX = 0, centreY = 0;  // px
  double velX = 0, velY = 0;        // px/s
};
ShellLaunch shellLaunch(const GameState& s, int p, int gunDir, int turnDir);

}  // namespace zelkar
