// Saving and restoring a Game for rollback. The sprite pictures are made at
// load and by the start timer, and nothing in a match changes them, but
// they are seven times the rest of the game: a saved game leaves them out
// and a restored one keeps the pictures it has. Everything else is copied
// by the Game's own assignment, so a member added to the game is saved
// without anyone remembering to.
#pragma once

#include "app/game.h"

namespace zelkar::net {

// `saved` becomes `live` without its pictures. `live` is only lent: its
// pictures are moved aside for the copy and back, staying where they are
// in memory (the probe surface points at them).
void saveGame(Game& live, Game& saved);
// `live` becomes `saved`, keeping its own pictures.
void restoreGame(Game& live, const Game& saved);

// Whether two games hold the same pictures: what saving leaves out must
// not change while the copies are in use.
bool samePictures(const Game& a, const Game& b);

}  // namespace zelkar::net
