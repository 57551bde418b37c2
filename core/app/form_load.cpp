#include <cmath>

#include "app/handlers.h"
#include "app/settings_load.h"
#include "arena/rounding.h"
#include "ui/sprite_art.h"
#include "ui/vehicle_pictures.h"

namespace zelkar {

namespace {

void measureSprites(Game& g) {
  GameState& s = g.s;
  const ScreenModel& w = g.screen;
  s.noShellSlot = 5;
  s.fieldWidth = kClientWidth;
  s.fieldHeight = kClientHeight;
  s.vehicleSize = w.kyara[0].width;
  s.vehicleRadius = static_cast<int16_t>(s.vehicleSize / 2 + 1);  // 11 for 21 px
  s.shellColorBase = {kShellColourBase0, kShellColourBase1};      // right, left player
  s.shellSize = w.houdan[0].width;
  s.shellHalf = toInt16Clamped(s.shellSize / 2.0);
  s.kitiHalf = floorToInt16Clamped(w.kiti[0].width / 2.0);  // 18 for 37 px
  s.blastWidth = w.baku[0].width;
  s.shellBlastWidth = w.tamabaku[0].width;
}

void placeGunLinesAndBases(Game& g) {
  GameState& s = g.s;
  for (int p = 0; p < kPlayers; ++p) {
    g.screen.hline[p].x1 = s.vehicleRadius;
    g.screen.hline[p].y1 = s.vehicleRadius;
    s.kitiLeft[p] = g.screen.kiti[p].left;
    s.kitiTop[p] = g.screen.kiti[p].top;
  }
  s.settingMax = {100, 300, 5000, 100, 30, 5000};
}

// 512 points just outside the vehicle: point 0 straight above the centre,
// clockwise on the screen. A point whose rounding fell inside the circle is
// measured once more one pixel further out.
void makeProbeRing(const GameState& s, MatchTables& t) {
  t.angleUnit = 3.1415f / 256;
  const int r = s.vehicleRadius;
  for (int k = 0; k < kRingPoints; ++k) {
    const float theta = static_cast<float>(k) * t.angleUnit - 1.57075f;
    const double c = std::cos(static_cast<double>(theta));
    const double sn = std::sin(static_cast<double>(theta));
    double x = std::floor((r + 2) * c + r);
    double y = std::floor((r + 2) * sn + r);
    if ((x - r) * (x - r) + (y - r) * (y - r) < (r + 2) * (r + 2)) {
      x = std::floor((r + 3) * c + r);
      y = std::floor((r + 3) * sn + r);
    }
    t.ringDX[k] = toInt16Clamped(x);
    t.ringDY[k] = toInt16Clamped(y);
  }
}

void makeDirectionTables(const GameState& s, MatchTables& t) {
  t.dirStep = 3.1415f / 32;
  const int r = s.vehicleRadius;
  for (int k = 0; k < kDirections; ++k) {
    const float angle = static_cast<float>(k) * t.dirStep;
    t.dirCos[k] = static_cast<float>(std::cos(static_cast<double>(angle)));
    t.dirSin[k] = static_cast<float>(std::sin(static_cast<double>(angle)));
    // 0.4: the share of the muzzle's sideways speed a turning gun gives.
    t.dirTurnX[k] = static_cast<float>(-(r - 2) * t.dirSin[k] * t.dirStep * 0.4);
    t.dirTurnY[k] = static_cast<float>((r - 2) * t.dirCos[k] * t.dirStep * 0.4);
    t.dirLineX[k] = (r - 2) * t.dirCos[k] + r;
    t.dirLineY[k] = (r - 2) * t.dirSin[k] + r;
  }
}

}  // namespace

void formLoad(Game& g, WindowSystem& ws, uint32_t seed) {
  GameState& s = g.s;
  measureSprites(g);
  placeGunLinesAndBases(g);
  g.screen.baku[0].picture = g.screen.motobaku.picture;
  g.screen.baku[1].picture = g.screen.motobaku.picture;
  MatchTables tables;
  makeProbeRing(s, tables);
  makeDirectionTables(s, tables);
  tables.obstacleStep = 3.1415f / 128;
  s.frozenTables = freeze(tables);
  makeVehiclePictures(g.screen, s);  // the gun line is part of the vehicle's picture
  g.rng.seed(seed);
  s.obstacleWidth = g.screen.mototiri[0].width;
  s.wallHalf = toInt16Clamped(g.screen.motokabe.width / 2.0);  // 16 for 31 px

  // Until config.txt can be read, the settings window asks for it.
  while (!configp(g, ws)) {
    ws.showSettingsWindow();
    if (g.ended) return;
  }
  g.screen.startInterval = 1;  // ms: start_Timer runs once the window is up
}

void formUnload(Game& g) { g.screen.scoreVisible = false; }

}  // namespace zelkar
