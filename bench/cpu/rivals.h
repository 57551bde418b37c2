// Scripted opponents for the benchmark's whole matches against the computer
// player: each stands for a way people play that once cost it points.
#pragma once

#include <array>
#include <cstdint>

#include "cpu/aim.h"
#include "cpu/key_events.h"
#include "cpu/setup_keys.h"
#include "cpu/steering.h"
#include "support/rivals.h"

namespace zelkar::bench {

// Rivals of playMatch: 1..3 are the computer's levels, the rest scripts.
enum Rival : int {
  kRandomKeys = testing::kRandomKeys,  // a press or a release on half the ticks
  kHeldKeys = -1,                      // presses seldom and holds for long: drives into everything
  kFireHeavy = -2,                     // random keys, but fires on a third of the ticks
  kTurret = -3,                        // heavy armour, stands on its base, turns and fires
  kRammer = -4,                        // a strong engine, drives straight at the other vehicle
  kIdle = -5,                          // confirms the start values and then does nothing
  kBattleKeys = -6,                    // confirms the start values, then random keys
};

// The random-keys player and its dice, with other habits.
class ScriptedRival : public testing::RandomKeys {
 public:
  ScriptedRival(Rival style, int side, uint32_t seed) : RandomKeys(side, seed), style_(style) {}

  cpu::KeyEvents decide(const GameState& s) {
    cpu::KeyEvents out;
    switch (style_) {
      case kRandomKeys:
        randomKey(out, s, 4);
        break;
      case kHeldKeys:
        if (rng_.between(0, 19) == 0) out.push({true, key(s, rng_.between(0, 7))});
        if (rng_.between(0, 59) == 0) out.push({false, key(s, rng_.between(0, 7))});
        break;
      case kFireHeavy:
        if (rng_.between(0, 2) == 0) out.push({true, key(s, kFire)});
        randomKey(out, s, 8);
        break;
      case kTurret:
        if (inSetup(s)) return setup(s, {40, 100, 200, 60, 5, 500});
        aimAndFire(out, s, 10);
        break;
      case kRammer:
        if (inSetup(s)) return setup(s, {20, 300, 400, 50, 5, 500});
        ram(out, s);
        aimAndFire(out, s, 15);
        break;
      case kIdle:
        if (inSetup(s)) out.push({true, key(s, kFire)});
        break;
      case kBattleKeys:
        if (inSetup(s))
          out.push({true, key(s, kFire)});
        else
          randomKey(out, s, 4);
        break;
    }
    return out;
  }

 private:
  static bool inSetup(const GameState& s, int p) { return s.settingRow[p] != kRowInBattle; }
  bool inSetup(const GameState& s) const { return inSetup(s, p_); }

  cpu::KeyEvents setup(const GameState& s, const std::array<float, 6>& wanted) const {
    cpu::KeyEvents out;
    cpu::setupKeys(out, s, p_, wanted);
    return out;
  }

  // Turns the gun straight at the other vehicle (no lead) and fires when it
  // points there, at most once every `gap` ticks.
  void aimAndFire(cpu::KeyEvents& out, const GameState& s, int gap) {
    const cpu::Vec to = cpu::centreOf(s, 1 - p_) - cpu::centreOf(s, p_);
    const int want = cpu::directionTowards(to, s.tables().dirStep);
    const int turn = cpu::turnTowards(s.gunDir[p_], want);
    cpu::steerCommand(out, s, p_, s.turnDir[p_], turn, kTurnMinus, kTurnPlus);
    if (turn == 0 && ++sinceShot_ >= gap && !inSetup(s, 1 - p_)) {
      out.push({true, key(s, kFire)});
      sinceShot_ = 0;
    }
  }

  void ram(cpu::KeyEvents& out, const GameState& s) {
    const cpu::Vec to = cpu::centreOf(s, 1 - p_) - cpu::centreOf(s, p_);
    const cpu::Thrust t = cpu::thrustFor(to, 1.0f);
    cpu::steerCommand(out, s, p_, static_cast<int>(s.thrustX[p_]), t.x, kLeft, kRight);
    cpu::steerCommand(out, s, p_, static_cast<int>(s.thrustY[p_]), t.y, kUp, kDown);
  }

  Rival style_;
  int sinceShot_ = 0;
};

}  // namespace zelkar::bench
