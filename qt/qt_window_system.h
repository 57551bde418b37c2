// The window system the rules ask for, made of Qt windows: message boxes,
// the modal settings window, the settings file and the end of the program.
#pragma once

#include <functional>
#include <optional>

#include "app/window_system.h"
#include "qt/config_location.h"
#include "qt/message_box.h"

class QWidget;

namespace zelkar::qt {

class QtWindowSystem : public WindowSystem {
 public:
  // Dialogs open over `parent`; `onEnd` closes the windows and stops the
  // event loop.
  // `scale` enlarges the settings window as the main window is enlarged.
  QtWindowSystem(ConfigLocation where, QWidget* parent, std::function<void()> onEnd, int scale = 1);

  void messageBox(std::string_view text, std::string_view title) override;
  void showSettingsWindow() override;
  ConfigRead readSettings() override;
  void endProgram() override;

  // Replaces the modal box, so that tests can see the messages without a
  // dialog waiting for a click.
  void setMessageBoxFn(MessageBoxFn fn) { messageBox_ = std::move(fn); }
  // Called before each settings window opens.
  void setBeforeSettingsWindow(std::function<void()> fn) { beforeSettings_ = std::move(fn); }
  // Replaces the modal settings window (tests).
  void setSettingsWindowFn(std::function<void()> fn) { settingsWindow_ = std::move(fn); }
  // While the program starts, the settings window is all there is: closing
  // it without saving ends the program instead of asking again forever.
  void setStarting(bool starting) { starting_ = starting; }
  // Once the program has ended no window opens any more.
  void setEnded() { ended_ = true; }
  // A replay's settings: read instead of config.txt, which a replay must
  // neither read nor write, so no settings window opens either (the
  // replay's next `config` line says what closing it gave).
  void setFixedSettings(const ConfigValues& v) { fixed_ = v; }

  const ConfigLocation& location() const { return where_; }
  MessageBoxFn messageBoxFn() const;

 private:
  ConfigLocation where_;
  QWidget* parent_;
  std::function<void()> onEnd_;
  MessageBoxFn messageBox_;
  std::function<void()> settingsWindow_;
  std::function<void()> beforeSettings_;
  std::optional<ConfigValues> fixed_;
  bool ended_ = false;
  bool starting_ = false;
  int scale_ = 1;
};

}  // namespace zelkar::qt
