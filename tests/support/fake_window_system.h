// A window system for tests: records message boxes and settings-window
// openings, serves settings from memory.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/handlers.h"

namespace zelkar::testing {

class FakeWindowSystem : public WindowSystem {
 public:
  std::vector<std::pair<std::string, std::string>> messages;
  int settingsWindowOpened = 0;
  int endRequests = 0;
  ConfigRead settings{ConfigValues{1, 10, 1}, {}};
  std::function<void()> onSettingsWindow;  // e.g. "the player saves"

  void messageBox(std::string_view text, std::string_view title) override {
    messages.emplace_back(std::string(text), std::string(title));
  }
  void showSettingsWindow() override {
    ++settingsWindowOpened;
    if (onSettingsWindow) onSettingsWindow();
  }
  ConfigRead readSettings() override { return settings; }
  void endProgram() override { ++endRequests; }
};

// A game as the window shows it after load: tables measured, sprites
// stamped, the start panel up.
inline Game loadedGame(FakeWindowSystem& ws, uint32_t seed = 7) {
  Game g;
  formLoad(g, ws, seed);
  startTimer(g);
  return g;
}

// A match started with the given count text ("" keeps the random count).
inline Game startedGame(FakeWindowSystem& ws, uint32_t seed = 7, bool friction = false,
                        std::string_view given = "") {
  Game g = loadedGame(ws, seed);
  g.screen.mas.value = friction;
  if (!given.empty()) {
    g.screen.Option1.value = false;
    g.screen.Option2.value = true;
    option2Click(g);
    g.screen.tirikosu.caption = given;
  }
  gameClick(g, ws);
  return g;
}

inline void tick(Game& g, int n = 1) {
  for (int i = 0; i < n; ++i) timer1Timer(g);
}

}  // namespace zelkar::testing
