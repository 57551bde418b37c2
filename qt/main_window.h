// The main window "ZELKAR GAME": the arena painted from the screen model,
// the real widgets over it, and the keys of both players.
#pragma once

#include <QImage>
#include <QWidget>

#include "qt/real_widgets.h"

namespace zelkar::qt {

class GameHost;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // `scale` enlarges the painting and the widgets' places, never the arena:
  // the model and the probes stay 793 x 579.
  MainWindow(GameHost& host, int scale);

  RealWidgets& widgets() { return widgets_; }
  int scale() const { return scale_; }
  // The arena as last painted, one pixel per client pixel.
  const QImage& frame() const { return frame_; }
  // Paints the model into frame() (paintEvent does it before showing it).
  void renderFrame();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  GameHost& host_;
  int scale_;
  QImage frame_;
  RealWidgets widgets_;
};

}  // namespace zelkar::qt
