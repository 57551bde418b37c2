#include <cmath>

#include "app/game.h"
#include "arena/arena.h"
#include "arena/rounding.h"

namespace zelkar {

namespace {

// Squared distance from a corner to vehicle p's start position.
float startDistance2(const GameState& s, float x, float y, int p) {
  const float dx = x - s.kitiLeft[p] - 8;
  const float dy = y - s.kitiTop[p] - 8;
  return dx * dx + dy * dy;
}

bool clearOfStarts(const GameState& s, float x, float y) {
  return startDistance2(s, x, y, 0) >= kStartClearance2 &&
         startDistance2(s, x, y, 1) >= kStartClearance2;
}

// One velocity component: a factor of 2, 1, 0, -1, -2 times 1..10 px/s.
float velocityComponent(Rng& rng) {
  const float r1 = rng.next();
  const float r2 = rng.next();
  return static_cast<float>((2 - std::floor(r1 * 5.0)) * std::floor(r2 * 10.0 + 1.0));
}

void makeRing(const GameState& s, MatchTables& t, int i) {
  const int16_t h = s.obstHalf[i];
  for (int k = 0; k < kObstRingPoints; ++k) {
    const float a = static_cast<float>(k) * t.obstacleStep - 1.57075f;
    // Cos enters in double precision and Sin in single: that is how the
    // ring has always been measured, and the contacts depend on it.
    const double c = std::cos(static_cast<double>(a));
    const double sn = static_cast<float>(std::sin(static_cast<double>(a)));
    double x = std::floor((h + 2) * c + h);
    double y = std::floor((h + 2) * sn + h);
    if ((x - h) * (x - h) + (y - h) * (y - h) < (h + 2) * (h + 2)) {
      // Fell inside the circle: measure once more one pixel further out.
      x = std::floor((h + 3) * c + h);
      y = std::floor((h + 3) * sn + h);
    }
    t.obstRingDX[i][k] = toInt16Clamped(x);
    t.obstRingDY[i][k] = toInt16Clamped(y);
  }
}

}  // namespace

void tirisyoki(Game& g) {
  GameState& s = g.s;
  // Rings of obstacles this match leaves out stay as the last match made them.
  MatchTables tables = s.tables();
  for (int i = 0; i <= s.lastObstacle && i < kObstacles; ++i) {
    do {
      s.obstX[i] = static_cast<float>(std::floor(double(g.rng.next()) * s.fieldWidth));
      s.obstY[i] = static_cast<float>(std::floor(double(g.rng.next()) * s.fieldHeight));
    } while (!clearOfStarts(s, s.obstX[i], s.obstY[i]));
    s.obstPrevX[i] = s.obstX[i];
    s.obstPrevY[i] = s.obstY[i];

    do {
      s.obstVX[i] = velocityComponent(g.rng);
      s.obstVY[i] = velocityComponent(g.rng);
    } while (s.obstVX[i] == 0 && s.obstVY[i] == 0);

    // 40 % to 100 % of the source picture: 12 to 30 px for 31 px.
    s.obstSize[i] = floorToInt16Clamped((g.rng.next() * 0.6 + 0.4) * s.obstacleWidth);
    s.obstHalf[i] = floorToInt16Clamped(s.obstSize[i] / 2.0);
    s.obstMass[i] = static_cast<float>(std::pow(s.obstSize[i], 3) * 100);

    Item& image = g.screen.tiri[i];
    image.width = s.obstSize[i];
    image.height = s.obstSize[i];

    makeRing(s, tables, i);
    s.obstLastContact[i] = kNoContact;
  }
  s.frozenTables = freeze(tables);
}

}  // namespace zelkar
