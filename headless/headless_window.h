// The window system of the headless runner: message boxes are recorded for
// the next JSON object instead of shown, the settings come from the script's
// `config` command, the settings window has nothing to show and ending the
// program marks the game as ended.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/window_system.h"
#include "events/script.h"

namespace zelkar::sim {

using Message = std::array<std::string, 2>;  // text, title

class HeadlessWindow final : public WindowSystem {
 public:
  explicit HeadlessWindow(Game& g) : g_(g) {}

  void messageBox(std::string_view text, std::string_view title) override;
  // Nothing to show: the window would return with the settings unchanged.
  void showSettingsWindow() override {}
  // Always readable, so start-up never waits on a settings window that no
  // one can close.
  ConfigRead readSettings() override { return {config_, {}}; }
  void endProgram() override { g_.ended = true; }

  void setConfig(const ConfigValues& v) { config_ = v; }
  // The message boxes shown since the last call.
  std::vector<Message> takeMessages();

 private:
  Game& g_;
  ConfigValues config_ = sim::kScriptConfig;
  std::vector<Message> messages_;
};

}  // namespace zelkar::sim
