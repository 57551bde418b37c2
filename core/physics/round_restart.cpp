#include "physics/round_restart.h"

#include "arena/arena.h"
#include "arena/rounding.h"
#include "audio/sound.h"

namespace zelkar {

namespace {

// Both vehicles back on their bases with their guns drawn, and every
// shell and blast of both players cleared from the arena.
void resetVehicles(Game& g, bool bothToSetup, int destroyed) {
  GameState& s = g.s;
  ScreenModel& w = g.screen;
  kitaisyoki(s);
  for (int p = 0; p < kPlayers; ++p) {
    w.kyara[p].visible = true;
    w.kyara[p].move(toInt16Clamped(s.posX[p]), toInt16Clamped(s.posY[p]));
    w.hline[p].x2 = s.tables().dirLineX[s.gunDir[p]];
    w.hline[p].y2 = s.tables().dirLineY[s.gunDir[p]];
    for (int k = 0; k < kShellSlots; ++k) {
      w.houdan[8 * p + k].visible = false;
      w.tamabaku[8 * p + k].visible = false;
    }
    if (bothToSetup || p == destroyed) {
      s.settingRow[p] = 0;
      w.settei[p].visible = true;
    }
  }
}

}  // namespace

void explodeVehicle(Game& g, int dotti) {
  const GameState& s = g.s;
  ScreenModel& w = g.screen;
  w.kyara[dotti].visible = false;
  const float cx = s.posX[dotti] + s.vehicleRadius;
  const float cy = s.posY[dotti] + s.vehicleRadius;
  Item& blast = w.baku[dotti];
  blast.visible = true;
  // The blast shrinks from its full width to one pixel, centred on the
  // vehicle; nothing waits between the sizes.
  for (int width = s.blastWidth; width >= 1; --width) {
    const int16_t h = toInt16Clamped(width / 2.0);
    blast.move(toInt16Clamped(cx - h), toInt16Clamped(cy - h), static_cast<int16_t>(width),
               static_cast<int16_t>(width));
  }
  g.explosions.push({static_cast<int8_t>(dotti), cx, cy, s.blastWidth, blast.picture});
  playVehicleExplosionSound(g);
  blast.visible = false;
}

void bakuhago(Game& g) { resetVehicles(g, false, g.s.subjectPlayer); }

void bakuhago2(Game& g) { resetVehicles(g, true, -1); }

}  // namespace zelkar
