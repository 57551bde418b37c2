// The start panel's widgets and the answer box: real widgets placed over
// the painted arena, so that typing, clicking and focus work as players
// expect. The screen model stays the master: before a handler runs the
// widgets' states are copied into it, after it the widgets take the model's.
// Captions from the model are shown translated; what a player types is not.
#pragma once

#include <QObject>
#include <array>
#include <optional>

#include "ui/screen_model.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace zelkar::qt {

class RealWidgets : public QObject {
  Q_OBJECT

 public:
  RealWidgets(QWidget* window, int scale);

  // What the player changed, into the model (no handler runs).
  void copyInto(ScreenModel& m) const;
  // Position, size, visibility, enabled state, text and value from the
  // model; with `choicesOwn` the start panel's buttons, count box and
  // friction box keep what the player chose there.
  void showModel(const ScreenModel& m, bool choicesOwn = false);
  // showModel in full, after a change of language.
  void retranslate(const ScreenModel& m);

  QLabel* label1() const { return label1_; }
  QRadioButton* option1() const { return option1_; }
  QRadioButton* option2() const { return option2_; }
  QLineEdit* tirikosu() const { return tirikosu_; }
  QCheckBox* mas() const { return mas_; }
  QPushButton* game() const { return game_; }
  QLineEdit* han() const { return han_; }

 signals:
  void option1Clicked();
  void option2Clicked();
  void gameClicked();
  // The count box or the friction box changed by the player.
  void edited();
  void hanChanged();

 private:
  // The model's part that the widgets show: the start panel and its items,
  // and the answer box.
  using Shown = std::array<Item, 8>;
  static Shown shownPart(const ScreenModel& m);
  void showAnswerColours(const ScreenModel& m);

  int scale_;
  std::optional<Shown> shown_;  // as last shown, until a player touches a widget
  bool choicesOwn_ = false;     // with shown_
  QLabel* label1_;
  QRadioButton* option1_;
  QRadioButton* option2_;
  QLineEdit* tirikosu_;
  QCheckBox* mas_;
  QPushButton* game_;
  QLineEdit* han_;
};

}  // namespace zelkar::qt
