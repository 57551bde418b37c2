// Both players' keys. The handlers only record commands for the tick,
// except the one-shot actions (confirm, fire, back to set-up) and the
// window keys Ctrl+F1 and Ctrl+F2.
#include "app/handlers.h"
#include "app/settings_load.h"
#include "input/player_actions.h"
#include "input/player_keys.h"

namespace zelkar {

namespace {

struct Target {
  int player = -1;
  int control = -1;
};

// The right player's table first, then the left player's keys.
Target findControl(const GameState& s, int16_t keyCode) {
  for (int c = 0; c < 8; ++c)
    if (keyCode == s.rightKeys[c]) return {0, c};
  for (int c = 0; c < 8; ++c)
    if (keyCode == kLeftPlayerKeys[c]) return {1, c};
  return {};
}

void pressControl(Game& g, int p, int control) {
  GameState& s = g.s;
  const bool inSetup = s.settingRow[p] != kRowInBattle;
  switch (control) {
    case kLeft:
    case kRight:
      s.thrustX[p] = control == kLeft ? -1.0f : 1.0f;
      s.settingStep[p] = control == kLeft ? -10 : 10;
      break;
    case kUp:
      if (!inSetup)
        s.thrustY[p] = -1;
      else if (s.settingRow[p] > 0)
        --s.settingRow[p];
      break;
    case kDown:
      if (!inSetup)
        s.thrustY[p] = 1;
      else if (s.settingRow[p] < 5)
        ++s.settingRow[p];
      break;
    case kFire:
      if (inSetup)
        confirmSettings(g, p);
      else
        fireShell(g, p);
      break;
    case kTurnMinus:
    case kTurnPlus:
      s.turnDir[p] = control == kTurnMinus ? -1 : 1;
      s.settingStep[p] = control == kTurnMinus ? -1 : 1;
      break;
    case kBack:
      backToSetup(g, p);
      break;
  }
}

void openSettingsWindow(Game& g, WindowSystem& ws) {
  ws.showSettingsWindow();
  // A file that cannot be read any more keeps the settings in force.
  configp(g, ws);
  // Only restart a tick that has an arena to move: before the first match
  // there is none, and the players could confirm empty settings. A match
  // that ended while the window was open waits for its answer instead.
  if (g.matchStarted && !g.awaitingAnswer && !g.ended) g.screen.timer1Interval = g.s.tickInterval;
}

void stopMatch(Game& g) {
  g.screen.timer1Interval = 0;
  g.screen.Picture2.top = 250;
  g.screen.Picture2.visible = true;
}

}  // namespace

void formKeyDown(Game& g, WindowSystem& ws, int16_t keyCode, int16_t shift) {
  // While the replay question waits, only its answer box is served.
  if (g.awaitingAnswer || g.ended) return;
  const Target t = findControl(g.s, keyCode);
  if (t.player >= 0) {
    pressControl(g, t.player, t.control);
  } else if (isStopKey(keyCode, shift)) {
    stopMatch(g);
  } else if (isSettingsKey(keyCode, shift)) {
    openSettingsWindow(g, ws);
  }
}

void formKeyUp(Game& g, int16_t keyCode, int16_t shift) {
  (void)shift;  // releases ignore the shift state
  if (g.awaitingAnswer || g.ended) return;
  const Target t = findControl(g.s, keyCode);
  if (t.player < 0) return;
  GameState& s = g.s;
  const int p = t.player;
  switch (t.control) {
    case kLeft:
    case kRight:
      s.thrustX[p] = 0, s.settingStep[p] = 0;
      break;
    case kUp:
    case kDown:
      s.thrustY[p] = 0;
      break;
    case kTurnMinus:
    case kTurnPlus:
      s.turnDir[p] = 0, s.settingStep[p] = 0;
      break;
    default:
      break;
  }
}

}  // namespace zelkar
