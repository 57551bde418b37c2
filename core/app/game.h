// The Game value: the game record, the random generator, the screen model
// and the sound and explosion reports, and the tick's view of the arena.
// Every handler of the game is a plain function over one Game, so a whole
// match runs and is tested without a window.
#pragma once

#include "app/game_state.h"
#include "arena/rng.h"
#include "audio/sound.h"
#include "sim/blasts_seen.h"
#include "sim/probe_directions.h"
#include "ui/explosion_queue.h"
#include "ui/probe_surface.h"
#include "ui/screen_model.h"

namespace zelkar {

// Everything that carries over from one event to the next: what a saved
// game (for a rollback) holds and the state hash covers.
struct GameRecord {
  GameState s;
  Rng rng;
  ScreenModel screen;
  SoundQueue sounds;
  ExplosionQueue explosions;    // for the window's eyes only
  bool awaitingAnswer = false;  // the replay question waits for its answer
  bool ended = false;           // the program has ended (quitProgram)
  bool matchStarted = false;    // the start button has built an arena
};

struct Game : GameRecord {
  // The tick's view of the arena (61 kB), taken afresh at the start of
  // every tick before any rule reads it: a saved game leaves it out
  // (net/snapshot.h). Between ticks only the computer player reads it.
  ProbeSurface probe;          // the arena as the current tick found it
  BlastsSeen blasts;           // the blast states that go with its pictures
  ProbeDirections directions;  // the obstacles' probe directions, kept with their velocities
};

}  // namespace zelkar
