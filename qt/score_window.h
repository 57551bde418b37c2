// The score window "得点": both players' points, shown beside the main
// window during a match. It never keeps the keyboard: the players' keys
// must go on reaching the main window.
#pragma once

#include <QWidget>

#include "ui/screen_model.h"

namespace zelkar::qt {

class ScoreWindow : public QWidget {
  Q_OBJECT

 public:
  // `mainWindow` owns this window and gets the focus back whenever this one
  // is activated.
  ScoreWindow(const ScreenModel& model, QWidget* mainWindow);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  const ScreenModel& model_;
  QWidget* mainWindow_;
};

}  // namespace zelkar::qt
