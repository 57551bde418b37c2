// Two games fed the very same events, for comparing them tick by tick, and
// the kinds of players that feed them.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "arena/rng.h"
#include "input/player_keys.h"
#include "support/fake_window_system.h"

namespace zelkar::testing {

class MatchPair {
 public:
  // Both games start a match from the same seed; each reads its own
  // config.txt values, so that settings which must not matter can differ.
  MatchPair(uint32_t seed, bool friction, ConfigValues configA, ConfigValues configB) {
    wsA_.settings.values = configA;
    wsB_.settings.values = configB;
    a_ = std::make_unique<Game>(startedGame(wsA_, seed, friction));
    b_ = std::make_unique<Game>(startedGame(wsB_, seed, friction));
  }

  void down(int16_t key, int16_t shift = 0) {
    formKeyDown(*a_, wsA_, key, shift);
    formKeyDown(*b_, wsB_, key, shift);
  }
  void up(int16_t key) {
    formKeyUp(*a_, key, 0);
    formKeyUp(*b_, key, 0);
  }
  // One tick of both. A match that ended or was stopped is first followed
  // by the next, as players answering "y" and pressing start would; the
  // new arena is thus always seen after a tick, never as it was drawn.
  void tick() {
    for (auto [g, ws] : {std::pair{a_.get(), &wsA_}, std::pair{b_.get(), &wsB_}}) {
      if (g->awaitingAnswer) {
        g->screen.han.caption = "y";
        hanChange(*g, *ws);
      }
      if (g->screen.Picture2.visible) {
        ++restarts_;
        gameClick(*g, *ws);
      }
      if (g->screen.timer1Interval > 0) timer1Timer(*g);
    }
  }

  const Game& a() const { return *a_; }
  const Game& b() const { return *b_; }
  int restarts() const { return restarts_ / 2; }

 private:
  FakeWindowSystem wsA_, wsB_;
  std::unique_ptr<Game> a_, b_;  // large: keep them off the stack
  int restarts_ = 0;
};

// How the keys are pressed between two ticks.
enum class Style {
  Uniform,  // random keys of both players pressed and released at random
  Combat,   // confirm, then turn and thrust towards the other and fire
  Mash,     // every key of both players pressed every tick
};

inline const char* styleName(Style s) {
  return s == Style::Uniform ? "uniform" : s == Style::Combat ? "combat" : "mash";
}

// Plays both players of a pair (or of anything with down, up and a). It
// reads game a only: while the pair agrees, that is what both games show.
class KeyPlayer {
 public:
  KeyPlayer(Style style, uint32_t seed) : style_(style), rng_(seed * 7919u + 13u) {}

  template <typename M>
  void play(M& m) {
    if (style_ == Style::Uniform) uniform(m);
    if (style_ == Style::Combat) combat(m, 0), combat(m, 1);
    if (style_ == Style::Mash) mash(m);
  }

 private:
  static int16_t key(const Game& g, int p, int control) { return controlKey(g.s, p, control); }
  bool chance(float p) { return rng_.next() < p; }
  int pick(int n) { return static_cast<int>(rng_.next() * static_cast<float>(n)); }

  template <typename M>
  void uniform(M& m) {
    for (int e = pick(4); e > 0; --e) {
      const int16_t k = key(m.a(), pick(2), pick(8));
      chance(0.6f) ? m.down(k) : m.up(k);
    }
    // Now and then the window keys: stop the match, or the settings window.
    if (chance(0.0005f)) m.down(kVkF2, kShiftCtrlOnly);
    if (chance(0.0005f)) m.down(kVkF1, kShiftCtrlOnly);
  }

  template <typename M>
  void combat(M& m, int p) {
    const GameState& s = m.a().s;
    const int q = 1 - p;
    if (s.settingRow[p] != kRowInBattle) {
      // Mostly confirm; sometimes change a setting first.
      m.down(key(m.a(), p, chance(0.7f) ? kFire : pick(8)));
      return;
    }
    const float dx = s.posX[q] - s.posX[p], dy = s.posY[q] - s.posY[p];      // px
    const float gun = static_cast<float>(s.gunDir[p]) * s.tables().dirStep;  // rad
    float off = std::atan2(dy, dx) - gun;                                    // rad
    off = std::remainder(off, 2 * 3.1415f);
    if (std::fabs(off) < s.tables().dirStep) {
      m.up(key(m.a(), p, kTurnMinus));
      if (chance(0.5f)) m.down(key(m.a(), p, kFire));
    } else {
      m.down(key(m.a(), p, off > 0 ? kTurnPlus : kTurnMinus));
    }
    if (chance(0.2f)) m.down(key(m.a(), p, dx > 0 ? kRight : kLeft));
    if (chance(0.2f)) m.down(key(m.a(), p, dy > 0 ? kDown : kUp));
    if (chance(0.1f)) m.up(key(m.a(), p, pick(2) ? kLeft : kUp));
    if (chance(0.05f)) m.down(key(m.a(), p, pick(8)));  // anything, even back to set-up
  }

  template <typename M>
  void mash(M& m) {
    // In a new order every tick, so that either key of a pair may win.
    std::array<int, 16> keys;
    for (int i = 0; i < 16; ++i) keys[i] = i;
    for (int i = 15; i > 0; --i) std::swap(keys[i], keys[pick(i + 1)]);
    for (int k : keys) m.down(key(m.a(), k / 8, k % 8));
    for (int k : keys)
      if (chance(0.5f)) m.up(key(m.a(), k / 8, k % 8));
  }

  Style style_;
  Rng rng_;  // the players' own dice, apart from the game's generator
};

// A count from the environment (for longer runs by hand), else `fallback`.
inline int envCount(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

}  // namespace zelkar::testing
