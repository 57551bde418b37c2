#include "qt/qt_window_system.h"

#include <QFileInfo>
#include <cstdio>

#include "headless/printable.h"
#include "qt/core_texts.h"
#include "qt/settings_window.h"

namespace zelkar::qt {

QtWindowSystem::QtWindowSystem(ConfigLocation where, QWidget* parent, std::function<void()> onEnd,
                               int scale)
    : where_(std::move(where)), parent_(parent), onEnd_(std::move(onEnd)), scale_(scale) {
  messageBox_ = [this](const QString& text, const QString& title) {
    showMessageBox(parent_, text, title);
  };
}

MessageBoxFn QtWindowSystem::messageBoxFn() const {
  // Looked up at each call, so a hook set later reaches open windows too.
  return [this](const QString& text, const QString& title) {
    if (!ended_) messageBox_(text, title);
  };
}

void QtWindowSystem::messageBox(std::string_view text, std::string_view title) {
  // The core's boxes come in Japanese; the window's own come translated
  // already, and pass through unchanged.
  messageBoxFn()(coreText(text), coreText(title));
}

void QtWindowSystem::showSettingsWindow() {
  if (ended_ || fixed_) return;
  if (beforeSettings_) beforeSettings_();
  if (settingsWindow_) {
    settingsWindow_();
    return;
  }
  SettingsWindow window(where_, messageBoxFn(), parent_, scale_);
  const bool saved = window.exec() == QDialog::Accepted;
  // Without a readable config.txt the game cannot start; a player who
  // closes the window at first start wants out, not the window again.
  if (!saved && starting_) endProgram();
}

ConfigRead QtWindowSystem::readSettings() {
  if (fixed_) return {*fixed_, {}};
  ConfigRead read = where_.read();
  // A missing file is the first start; one that is there but unreadable
  // (binary, too large, a folder, a pipe) is said before the settings
  // window opens over it.
  if (!read.ok() && QFileInfo::exists(where_.readPath()))
    // The error names the file and quotes what it could not read, which
    // in a binary file may be any byte: shown escaped.
    std::fprintf(stderr, "zelkar: %s\n", sim::printable(read.error).c_str());
  return read;
}

void QtWindowSystem::endProgram() {
  if (onEnd_) onEnd_();
}

}  // namespace zelkar::qt
