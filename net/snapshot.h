// Saving and restoring a Game for rollback: the game record (GameRecord)
// and nothing else. Left out are the tick's view of the arena (the probe
// capture and the blasts seen with it), which the next tick takes afresh
// before any rule reads it, and the sprite pictures, which are made at
// load and by the start timer and never change in a match but are seven
// times the rest of the game: a restored game keeps the pictures and the
// view it has. The tables fixed for a match are shared, not copied.
// Everything else is copied by GameRecord's own assignment, so a member
// added to the record is saved without anyone remembering to.
#pragma once

#include "app/game.h"

namespace zelkar::net {

// `saved` becomes `live`'s record without its pictures. `live` is only
// lent: its pictures are moved aside for the copy and back, staying where
// they are in memory.
void saveGame(Game& live, Game& saved);
// `live` becomes `saved`'s record, keeping its own pictures and view.
void restoreGame(Game& live, const Game& saved);

// Whether two games hold the same pictures: what saving leaves out must
// not change while the copies are in use.
bool samePictures(const Game& a, const Game& b);

}  // namespace zelkar::net
