// The computer player of one side. Each tick, before the tick runs, it
// looks at the Game as a person at the screen would (positions, velocities,
// instruments, panels, score) and answers with that side's key presses and
// releases. It never reads the game's random generator, and it holds no
// state inside the Game: replays and state hashes see only its keys.
#pragma once

#include <cstdint>

#include "app/game.h"
#include "cpu/aim.h"
#include "cpu/cpu_rng.h"
#include "cpu/key_events.h"
#include "cpu/level.h"
#include "cpu/pixel_reader.h"
#include "cpu/setup_choice.h"
#include "cpu/steering.h"
#include "cpu/watch.h"

namespace zelkar::cpu {

class Player {
 public:
  // side: 0 the right player, 1 the left player; level 1..3; seed: the
  // match's seed, the only source of the player's variety.
  Player(int side, int level, uint32_t seed);

  // The keys for this tick. Deterministic: the same Game and the same
  // history of calls give the same keys. Never allocates.
  KeyEvents decide(const Game& g);

  int side() const { return p_; }
  int level() const { return level_; }

 private:
  void battle(KeyEvents& out, const GameState& s, const PixelReader& probe);
  void look(const GameState& s, const PixelReader& probe);
  void drive(const GameState& s, const PixelReader& probe);
  bool wantsHome(const GameState& s) const;
  int closestOf(const GameState& s, int around) const;
  bool shotIsGood(const GameState& s, const PixelReader& probe, int turn) const;
  float range() const;
  bool bearsDown(const GameState& s) const;

  int p_;
  int level_;
  const LevelTraits* traits_;
  CpuRng rng_;
  int64_t ticks_ = 0;     // calls of decide in battle
  int64_t nextLook_ = 0;  // tick of the next fresh look
  int64_t lastShot_ = -1000000;
  // What the last look decided, carried out until the next one.
  int aimDir_ = 0;
  int aimError_ = 0;  // directions the gun is off the aim without the player knowing
  Thrust thrust_{};
  int64_t thrustFrom_ = 0;  // tick the thrust was chosen
  int thrustTicks_ = 0;     // ticks it is held from then
  bool home_ = false;
  int spot_ = -1;         // where to stand round the target (see chooseSpot)
  int64_t nextSpot_ = 0;  // tick of the next choice of spot
  int waited_ = 0;        // ticks waited in set-up for an obstacle to leave the base
  Opponent seen_{};       // what it has seen of the other vehicle
  Watch watch_{};         // what it has seen of the other's play
};

}  // namespace zelkar::cpu
