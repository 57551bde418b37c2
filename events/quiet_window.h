// The window system of every player of events that has no screen (zelkar-sim,
// the rollback session, the sync test): message boxes are kept for the
// caller instead of shown, the settings come from the events' `config` line,
// the settings window has nothing to show and ending the program marks the
// game as ended.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/game.h"
#include "app/window_system.h"
#include "events/script.h"

namespace zelkar::sim {

using Message = std::array<std::string, 2>;  // text, title

class QuietWindow final : public WindowSystem {
 public:
  explicit QuietWindow(Game& g) : g_(&g) {}

  void messageBox(std::string_view text, std::string_view title) override {
    messages_.push_back({std::string(text), std::string(title)});
  }
  // Nothing to show: the window would return with the settings unchanged.
  void showSettingsWindow() override {}
  // Always readable, so start-up never waits on a settings window that no
  // one can close.
  ConfigRead readSettings() override { return {config_, {}}; }
  void endProgram() override { g_->ended = true; }

  // A rollback puts another copy of the game in place.
  void setGame(Game& g) { g_ = &g; }
  void setConfig(const ConfigValues& v) { config_ = v; }
  const ConfigValues& config() const { return config_; }
  // The message boxes shown since the last call.
  std::vector<Message> takeMessages() { return std::exchange(messages_, {}); }

 private:
  Game* g_;
  ConfigValues config_ = kScriptConfig;
  std::vector<Message> messages_;
};

}  // namespace zelkar::sim
