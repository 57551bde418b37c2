// Arranging an arena for a test: no obstacles or walls unless placed, and
// players confirmed into battle.
#pragma once

#include "sim/colour_codes.h"
#include "support/fake_window_system.h"

namespace zelkar::testing {

inline constexpr int16_t kLeftFire = 88;   // X
inline constexpr int16_t kRightFire = 98;  // keypad 2

inline void emptyArena(Game& g) {
  for (auto& t : g.screen.tiri) t.visible = false;
  for (auto& k : g.screen.kabe) k.visible = false;
  g.s.lastObstacle = -1;
  g.s.lastWall = -1;
}

inline void placeWall(Game& g, int w, int16_t left, int16_t top, int16_t half) {
  GameState& s = g.s;
  s.lastWall = std::max<int16_t>(s.lastWall, static_cast<int16_t>(w));
  s.kabeLeft[w] = left;
  s.kabeTop[w] = top;
  s.kabeHalf[w] = half;
  g.screen.kabe[w].move(left, top, static_cast<int16_t>(2 * half), static_cast<int16_t>(2 * half));
  g.screen.kabe[w].visible = true;
}

inline void placeObstacle(Game& g, int t, float x, float y, float vx, float vy) {
  GameState& s = g.s;
  s.lastObstacle = std::max<int16_t>(s.lastObstacle, static_cast<int16_t>(t));
  s.obstX[t] = s.obstPrevX[t] = x;
  s.obstY[t] = s.obstPrevY[t] = y;
  s.obstVX[t] = vx;
  s.obstVY[t] = vy;
  g.screen.tiri[t].move(static_cast<int16_t>(x), static_cast<int16_t>(y), s.obstSize[t],
                        s.obstSize[t]);
  g.screen.tiri[t].visible = true;
}

// A started match (seed 7, friction off) with an empty arena and both
// players in battle with the default settings.
inline Game battleGame(FakeWindowSystem& ws, uint32_t seed = 7, bool friction = false) {
  Game g = startedGame(ws, seed, friction);
  emptyArena(g);
  formKeyDown(g, ws, kLeftFire, 0);
  formKeyDown(g, ws, kRightFire, 0);
  g.sounds.clear();
  return g;
}

// A battleGame for a fixture (class X : public ::testing::Test, protected
// InBattle {}) or for a test of its own.
struct InBattle {
  FakeWindowSystem ws;
  Game g = battleGame(ws);
  GameState& s = g.s;
};

// Whether the game has asked for sound `s` since its queue was last emptied.
inline bool heard(const Game& g, Sound s) {
  for (std::size_t i = 0; i < g.sounds.size(); ++i)
    if (g.sounds[i] == s) return true;
  return false;
}

// The colour a probe would read at client pixel (x, y) as the window stands.
inline int32_t colourAt(Game& g, int x, int y) {
  g.probe.capture(g.screen);
  return g.probe.getPixel(g.screen.pictures, x, y) & kRgbMask;
}

// Armour thick enough to survive the impacts a test arranges (energy units).
inline void thickArmour(Game& g, float energy = 1e8f) {
  g.s.armourFull = {energy, energy};
  g.s.armourLeft = {energy, energy};
}

// Puts vehicle p at (x, y) with velocity (vx, vy), drawn there.
inline void placeVehicle(Game& g, int p, float x, float y, float vx, float vy) {
  GameState& s = g.s;
  s.posX[p] = s.prevX[p] = x;
  s.posY[p] = s.prevY[p] = y;
  s.velX[p] = vx;
  s.velY[p] = vy;
  g.screen.kyara[p].move(static_cast<int16_t>(x), static_cast<int16_t>(y));
}

}  // namespace zelkar::testing
