// Plays replay commands on a Game the way zelkar-sim does, for the parts
// that replay a match in-process (the rollback session and the sync test):
// the same command must do the same thing here as in a replay file, or a
// recorded online match would not play back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/window_system.h"
#include "events/script.h"

namespace zelkar::net {

// A window system with nothing to show: message boxes are kept for the
// caller, the settings are the ones given, and ending the program marks
// the game as ended.
class QuietWindow final : public WindowSystem {
 public:
  explicit QuietWindow(Game& g) : g_(&g) {}
  void messageBox(std::string_view text, std::string_view title) override {
    messages_.push_back({std::string(text), std::string(title)});
  }
  void showSettingsWindow() override {}
  ConfigRead readSettings() override { return {config_, {}}; }
  void endProgram() override { g_->ended = true; }

  void setGame(Game& g) { g_ = &g; }
  void setConfig(const ConfigValues& v) { config_ = v; }
  const ConfigValues& config() const { return config_; }
  std::vector<std::array<std::string, 2>>& messages() { return messages_; }

 private:
  Game* g_;
  ConfigValues config_ = sim::kScriptConfig;
  std::vector<std::array<std::string, 2>> messages_;
};

// Load of the main window and the one-shot start timer, as zelkar-sim opens
// it before the first event.
void openWindow(Game& g, QuietWindow& ws, uint32_t seed);

bool timerRunning(const Game& g);

// One command on a loaded game; a tick command runs the ticks the running
// timer would fire. Returns the ticks run.
int64_t play(Game& g, QuietWindow& ws, const sim::Command& command);

}  // namespace zelkar::net
