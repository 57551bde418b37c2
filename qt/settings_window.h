// The settings window "初期設定": keyboard kind, operability value and
// sound switch, saved to config.txt, and the language of the windows,
// saved beside it. Shown modally by the caller.
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

#include "qt/config_location.h"
#include "qt/message_box.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace zelkar::qt {

class SettingsWindow : public QDialog {
  Q_OBJECT

 public:
  // `scale` enlarges the window, its elements and their text alike.
  SettingsWindow(ConfigLocation where, MessageBoxFn messageBox, QWidget* parent = nullptr,
                 int scale = 1);

  // The elements, by the names the game gives them.
  QCheckBox* tenkey() const { return tenkey_; }
  QLineEdit* opeval() const { return opeval_; }
  QCheckBox* sound() const { return sound_; }
  QPushButton* comdef() const { return comdef_; }
  QPushButton* comsave() const { return comsave_; }
  QComboBox* language() const { return language_; }

  // Fills the elements from the file; a file that cannot be read leaves
  // them as they are, without a word.
  void loadFromFile();
  // "既定値": the initial values back in the elements; nothing is written.
  void comdefClick();
  // "保存": checks the operability value, writes the file and closes the
  // window; returns whether it did. The language chosen is remembered and
  // takes effect at once.
  bool comsaveClick();

 private:
  void showValue(QCheckBox* box, std::optional<int16_t>& kept, int16_t value);
  int16_t savedValue(const QCheckBox* box, const std::optional<int16_t>& kept) const;
  void saveLanguage();

  ConfigLocation where_;
  MessageBoxFn messageBox_;
  QCheckBox* tenkey_;
  QLineEdit* opeval_;
  QCheckBox* sound_;
  QPushButton* comdef_;
  QPushButton* comsave_;
  QComboBox* language_;
  // Values from the file that no check box can hold, written back as they
  // were unless the player clicks the box.
  std::optional<int16_t> keptTenkey_;
  std::optional<int16_t> keptSound_;
};

}  // namespace zelkar::qt
