// A simple player for scripted fights: it sets up its vehicle, then drives
// and shoots by a plan. It reads the game and presses keys through the
// recorder, never more than a player at the keyboard could.
#pragma once

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "arena/rng.h"
#include "recorder.h"

namespace zelkar::sim::maker {

enum Control { kLeft, kRight, kUp, kDown, kFire, kTurnMinus, kTurnPlus, kBack };

// Where a fighter drives to.
enum class Move {
  Stay,  // never thrusts
  Roam,  // from one random point of the arena to the next
  Ram,   // straight at the other vehicle
  Burn,  // thrusts up and down until the tank is empty
};

struct Plan {
  Move move = Move::Roam;
  float fireChance = 0.3f;  // per tick while the gun points at the other vehicle
  bool aim = true;
  float backChance = 0;  // per tick: back to set-up (acts only on the own base)
  // Set-up before the first confirm of a match: (control, ticks held).
  std::vector<std::pair<int, int>> setup{};
};

class Fighter {
 public:
  Fighter(int player, Plan plan, uint32_t seed) : p_(player), plan_(std::move(plan)), rng_(seed) {}

  void play(Recorder& r) {
    const GameState& s = r.game().s;
    if (!r.running()) return;
    if (s.settingRow[p_] != kRowInBattle) {
      setUp(r);
      return;
    }
    setupDone_ = true;
    if (plan_.aim) aim(r);
    drive(r);
  }

  void newMatch() { setupDone_ = false, setupStep_ = 0, held_ = {}; }

 private:
  int16_t key(const Game& g, int control) const {
    static constexpr int16_t kLeftKeys[8] = {65, 68, 87, 83, 88, 90, 67, 81};  // A D W S X Z C Q
    return p_ == 0 ? g.s.rightKeys[control] : kLeftKeys[control];
  }
  // Keys whose hold matters are pressed and released on change only.
  void hold(Recorder& r, int control, bool down) {
    if (held_[control] == down) return;
    held_[control] = down;
    down ? r.down(key(r.game(), control)) : r.up(key(r.game(), control));
  }
  // A pair of opposite keys: releasing either clears the pair's command, so
  // the release goes first.
  void holdPair(Recorder& r, int minus, int plus, float want) {
    hold(r, want < 0 ? plus : minus, false);
    hold(r, want < 0 ? minus : plus, want != 0);
  }
  void press(Recorder& r, int control) { r.down(key(r.game(), control)); }

  void setUp(Recorder& r) {
    if (!setupDone_ && setupStep_ < plan_.setup.size()) {
      auto& [control, ticksLeft] = plan_.setup[setupStep_];
      if (control == kUp || control == kDown) {
        press(r, control);  // one row per press
        ++setupStep_;
      } else if (ticksLeft-- > 0) {
        hold(r, control, true);
      } else {
        hold(r, control, false);
        ++setupStep_;
      }
      return;
    }
    for (int c : {kLeft, kRight, kTurnMinus, kTurnPlus}) hold(r, c, false);
    if (rng_.next() < 0.2f) press(r, kFire);  // confirm, after a moment's thought
  }

  void aim(Recorder& r) {
    const GameState& s = r.game().s;
    const int q = 1 - p_;
    const float dx = s.posX[q] - s.posX[p_], dy = s.posY[q] - s.posY[p_];     // px
    const float gun = static_cast<float>(s.gunDir[p_]) * s.tables().dirStep;  // rad
    const float off = std::remainder(std::atan2(dy, dx) - gun, 2 * 3.1415f);
    const bool aligned = std::fabs(off) < s.tables().dirStep;
    holdPair(r, kTurnMinus, kTurnPlus, aligned ? 0.0f : off);
    if (aligned && rng_.next() < plan_.fireChance) press(r, kFire);
  }

  void drive(Recorder& r) {
    const GameState& s = r.game().s;
    const int q = 1 - p_;
    const float cx = s.posX[p_] + s.vehicleRadius, cy = s.posY[p_] + s.vehicleRadius;  // px
    if (plan_.move == Move::Roam && (std::hypot(tx_ - cx, ty_ - cy) < 30 || rng_.next() < 0.003f)) {
      tx_ = 20 + rng_.next() * static_cast<float>(s.fieldWidth - 40);
      ty_ = 20 + rng_.next() * static_cast<float>(s.fieldHeight - 40);
    }
    if (plan_.move == Move::Ram) {
      tx_ = s.posX[q] + s.vehicleRadius;
      ty_ = s.posY[q] + s.vehicleRadius;
    }
    if (rng_.next() < plan_.backChance) press(r, kBack);
    if (plan_.move == Move::Stay) return;
    if (plan_.move == Move::Burn) {
      holdPair(r, kUp, kDown, s.posY[p_] > s.fieldHeight / 2 ? -1.0f : 1.0f);
      return;
    }
    // Thrust towards the target, easing off when already fast that way.
    constexpr float kNear = 12, kFast = 40;  // px, px/s
    const float wantX = tx_ - cx > kNear ? 1.0f : tx_ - cx < -kNear ? -1.0f : 0.0f;
    const float wantY = ty_ - cy > kNear ? 1.0f : ty_ - cy < -kNear ? -1.0f : 0.0f;
    const bool fastX = wantX * s.velX[p_] > kFast, fastY = wantY * s.velY[p_] > kFast;
    holdPair(r, kLeft, kRight, fastX ? 0.0f : wantX);
    holdPair(r, kUp, kDown, fastY ? 0.0f : wantY);
  }

  int p_;
  Plan plan_;
  Rng rng_;  // the fighter's own dice, apart from the game's generator
  std::array<bool, 8> held_{};
  bool setupDone_ = false;
  std::size_t setupStep_ = 0;
  float tx_ = 0, ty_ = 0;  // px: where it drives to
};

}  // namespace zelkar::sim::maker
