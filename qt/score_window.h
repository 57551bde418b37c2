// The score window "得点": both players' points, shown beside the main
// window during a match. It never keeps the keyboard: the players' keys
// must go on reaching the main window.
#pragma once

#include <QWidget>

class QPainter;

#include "ui/screen_model.h"

namespace zelkar::qt {

class ScoreWindow : public QWidget {
  Q_OBJECT

 public:
  // `mainWindow` owns this window and gets the focus back whenever this one
  // is activated.
  // `scale` enlarges it as the main window is enlarged.
  ScoreWindow(const ScreenModel& model, QWidget* mainWindow, int scale = 1);
  // The model shown from now on (online, the session's game's).
  void setModel(const ScreenModel& model) { model_ = &model; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // The window's contents at their own size, one pixel per client pixel.
  void paintContents(QPainter& p) const;

  const ScreenModel* model_;
  QWidget* mainWindow_;
  int scale_;
};

}  // namespace zelkar::qt
