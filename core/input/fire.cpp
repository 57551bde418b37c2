#include "audio/sound.h"
#include "input/player_actions.h"

namespace zelkar {

void fireShell(Game& g, int p) {
  GameState& s = g.s;
  const int slot = s.freeShellSlot[p];
  if (slot >= s.noShellSlot || slot < 0 || s.shellsLeft[p] <= 0) return;
  const int d = s.gunDir[p];
  const float m = s.setting[p][4];      // kg
  const float force = s.setting[p][5];  // N
  playFireSound(g);
  // Out of sight at the bottom-right corner until the tick places it.
  Item& image = g.screen.houdan[8 * p + slot];
  image.visible = true;
  image.move(s.fieldWidth, s.fieldHeight);
  s.shellState[p][slot] = 1;
  s.shellsLeft[p] = static_cast<int16_t>(s.shellsLeft[p] - 1);
  s.totalMass[p] -= m;

  const ShellLaunch launch = shellLaunch(s, p, d, s.turnDir[p]);
  s.shellX[p][slot] = static_cast<float>(launch.centreX - s.shellHalf);
  s.shellY[p][slot] = static_cast<float>(launch.centreY - s.shellHalf);
  s.shellPrevX[p][slot] = s.shellX[p][slot];
  s.shellPrevY[p][slot] = s.shellY[p][slot];
  s.shellVX[p][slot] = static_cast<float>(launch.velX);
  s.shellVY[p][slot] = static_cast<float>(launch.velY);

  // Recoil over the barrel time; static friction may hold the vehicle.
  float a = force / s.totalMass[p];  // px/s^2
  if (s.frictionCoef[0] > 0) a = a < s.frictionCoef[0] ? 0 : a - s.frictionCoef[1];
  const float ax = -a * s.tables().dirCos[d];
  const float ay = -a * s.tables().dirSin[d];
  const double t = s.barrelTime[p];
  s.posX[p] = static_cast<float>(s.posX[p] + t * t * ax / 2);
  s.posY[p] = static_cast<float>(s.posY[p] + t * t * ay / 2);
  s.velX[p] = static_cast<float>(s.velX[p] + ax * t);
  s.velY[p] = static_cast<float>(s.velY[p] + ay * t);
}

ShellLaunch shellLaunch(const GameState& s, int p, int gunDir, int turnDir) {
  const int d = gunDir & (kDirections - 1);
  // One and a half shell widths beyond the end of the gun line.
  const double beyond = 1.5 * s.shellSize;
  ShellLaunch l;
  l.centreX = double(s.tables().dirLineX[d]) + s.posX[p] + s.tables().dirCos[d] * beyond;
  l.centreY = double(s.tables().dirLineY[d]) + s.posY[p] + s.tables().dirSin[d] * beyond;
  // A turning gun fires faster and adds the muzzle's sideways speed.
  const int k = turnDir == 0 ? 1 : 0;
  l.velX = double(s.tables().dirCos[d]) * s.muzzleSpeed[p][k] + s.velX[p] +
           double(s.tables().dirTurnX[d]) * turnDir;
  l.velY = double(s.tables().dirSin[d]) * s.muzzleSpeed[p][k] + s.velY[p] +
           double(s.tables().dirTurnY[d]) * turnDir;
  return l;
}

bool onOwnBase(const GameState& s, int p) {
  const float cx = s.kitiLeft[p] + s.kitiHalf - s.posX[p] - s.vehicleRadius;
  const float cy = s.kitiTop[p] + s.kitiHalf - s.posY[p] - s.vehicleRadius;
  // The centres must lie within 2 px: the vehicle stands on its base.
  const int r = s.kitiHalf - s.vehicleRadius - 5;
  return static_cast<float>(r * r) > cx * cx + cy * cy;
}

void backToSetup(Game& g, int p) {
  if (onOwnBase(g.s, p)) {
    g.s.settingRow[p] = 0;
    g.screen.settei[p].visible = true;
  }
}

}  // namespace zelkar
