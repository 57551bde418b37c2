// What the rules need from the world outside the core: message boxes, the
// modal settings window, the settings file and ending the program. The Qt
// front end implements it with real windows; the headless runner and the
// tests implement it with plain code.
#pragma once

#include <string>
#include <string_view>

#include "settings/config_file.h"

namespace zelkar {

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // A message box with text, title and an OK button; returns when dismissed.
  virtual void messageBox(std::string_view text, std::string_view title) = 0;
  // Shows the settings window modally; returns when it has been closed.
  virtual void showSettingsWindow() = 0;
  // Reads config.txt (wherever this host keeps it).
  virtual ConfigRead readSettings() = 0;
  // Ends the program: every window closes, no further handler runs.
  virtual void endProgram() = 0;
};

}  // namespace zelkar
