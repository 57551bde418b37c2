#include <cmath>

#include "app/handlers.h"
#include "arena/arena.h"
#include "arena/rounding.h"
#include "settings/config_file.h"
#include "sim/number_text.h"
#include "sim/setup_adjust.h"

namespace zelkar {

namespace {

constexpr std::string_view kCountMessage = "1-11の範囲に設定して下さい。";
constexpr std::string_view kCountTitle = "移動障害物個数";
constexpr int kMaxObstacles = 11;
constexpr double kGravity = 9.8;  // m/s^2: friction coefficients become decelerations
constexpr Arr<float, kSettings> kStartSettings = {10, 100, 200, 50, 10, 500};

// The count box as a number: its leading number rounded half to even; a
// value beyond the 16-bit range counts as out of range like any other.
int obstacleCount(const ScreenModel& w) {
  const auto n = toInt16(leadingNumber(w.tirikosu.caption.view()));
  return n ? *n : -1;
}

void drawFriction(Game& g) {
  GameState& s = g.s;
  if (!g.screen.mas.value) {
    s.frictionCoef = {0, 0};
    return;
  }
  // Static 0.10 to 0.50 in steps of 0.01, kinetic from 0 up to it.
  const double muS = sigonyuu(static_cast<float>(g.rng.next() * 0.4 + 0.1), 3);
  double r = 0;
  do r = g.rng.next() * muS;
  while (r == 0);
  const double muK = sigonyuu(static_cast<float>(r), 3);
  setNumberText(g.screen.hyoumas[0].caption, muS);
  setNumberText(g.screen.hyoumas[1].caption, muK);
  s.frictionCoef[0] = static_cast<float>(muS * kGravity);
  s.frictionCoef[1] = static_cast<float>(muK * kGravity);
}

void resetPlayers(GameState& s) {
  for (int p = 0; p < kPlayers; ++p) {
    s.points[p] = 0;
    s.settingRow[p] = 0;
    s.prevSettingRow[p] = 0;
    s.settingStep[p] = 0;
    s.setting[p] = kStartSettings;
  }
}

void showArena(Game& g) {
  const GameState& s = g.s;
  ScreenModel& w = g.screen;
  for (int i = 0; i < kObstacles; ++i) w.tiri[i].visible = i <= s.lastObstacle;
  for (int i = 0; i < kWalls; ++i) w.kabe[i].visible = i <= s.lastWall;
  w.kiti[0].visible = w.kiti[1].visible = true;
  for (auto& label : w.hyo1) label.visible = true;
  for (int j = 0; j < 18; ++j) w.tani[j + 14].visible = w.hyosuu[j].visible = true;
  for (auto& value : w.setsuuti) value.caption = "0";
}

void placeVehicles(Game& g) {
  GameState& s = g.s;
  ScreenModel& w = g.screen;
  for (int p = 0; p < kPlayers; ++p) {
    w.kyara[p].visible = true;
    w.kyara[p].move(toInt16Clamped(s.posX[p]), toInt16Clamped(s.posY[p]));
    w.hline[p].x2 = s.tables().dirLineX[s.gunDir[p]];
    w.hline[p].y2 = s.tables().dirLineY[s.gunDir[p]];
    w.tokuten[p].visible = true;
    w.tokuten[p].caption = "00";
  }
}

void openSettingsPanels(Game& g) {
  GameState& s = g.s;
  ScreenModel& w = g.screen;
  for (int p = 0; p < kPlayers; ++p) {
    w.settei[p].visible = true;
    for (int k = 0; k < kSettings; ++k)
      setNumberText(w.setsuuti[7 * p + k].caption, s.setting[p][k]);
    s.totalMass[p] = vehicleMass(s, p);
    setNumberText(w.setsuuti[7 * p + 6].caption, std::floor(s.totalMass[p]));
  }
}

}  // namespace

void option1Click(Game& g) {
  ScreenModel& w = g.screen;
  w.Option2.value = !w.Option1.value;
  w.tirikosu.enabled = !w.Option1.value;
}

void option2Click(Game& g) {
  ScreenModel& w = g.screen;
  w.Option1.value = !w.Option2.value;
  w.tirikosu.enabled = w.Option2.value;
}

void gameClick(Game& g, WindowSystem& ws) {
  GameState& s = g.s;
  ScreenModel& w = g.screen;
  // The count is checked whichever option is selected.
  const int n = obstacleCount(w);
  if (n < 1 || n > kMaxObstacles) {
    ws.messageBox(kCountMessage, kCountTitle);
    w.focus = Focus::Tirikosu;
    return;
  }
  s.lastObstacle = w.Option1.value ? floorToInt16Clamped(g.rng.next() * 10.0 + 1.0)
                                   : static_cast<int16_t>(n - 1);
  drawFriction(g);
  w.Picture2.visible = false;
  resetPlayers(s);
  kitaisyoki(s);
  tirisyoki(g);
  kabesyoki(g);
  showArena(g);
  placeVehicles(g);
  openSettingsPanels(g);
  const bool friction = s.frictionCoef[0] > 0;
  for (auto* label : {&w.hyoumas[0], &w.hyoumas[1], &w.masatu[0], &w.masatu[1]})
    label->visible = friction;
  w.timer1Interval = s.tickInterval;
  w.scoreVisible = true;
  w.focus = Focus::Main;
  g.matchStarted = true;
}

}  // namespace zelkar
