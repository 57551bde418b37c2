#include "qt/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include "qt/arena_painter.h"
#include "qt/game_host.h"
#include "qt/keymap.h"

namespace zelkar::qt {

MainWindow::MainWindow(GameHost& host, int scale)
    : host_(host), scale_(scale), frame_(makeArenaFrame()), widgets_(this, scale) {
  setWindowTitle(QStringLiteral("ZELKAR GAME"));
  setFixedSize(kClientWidth * scale, kClientHeight * scale);
  setFocusPolicy(Qt::StrongFocus);
  // The whole client area is painted every time; nothing to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void MainWindow::renderFrame() { paintArena(frame_, host_.game().screen); }

void MainWindow::paintEvent(QPaintEvent*) {
  renderFrame();
  QPainter p(this);
  // Enlarging must copy pixels, not blend them: no smooth transform.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(QRect(0, 0, kClientWidth * scale_, kClientHeight * scale_), frame_);
  host_.framePainted();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // While the question waits, typing answers it wherever the focus went.
  QLineEdit* answer = widgets_.han();
  if (host_.game().screen.focus == Focus::Han && answer->isVisible()) {
    answer->setFocus(Qt::OtherFocusReason);
    QCoreApplication::sendEvent(answer, event);
    return;
  }
  const int vk = vkFromKeyEvent(*event);
  if (vk == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  // Held keys arrive again as repeated presses, which the game wants.
  host_.keyDown(int16_t(vk), int16_t(shiftState(event->modifiers())));
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
  const int vk = vkFromKeyEvent(*event);
  if (vk == 0 || !forwardRelease(*event)) {
    QWidget::keyReleaseEvent(event);
    return;
  }
  host_.keyUp(int16_t(vk), int16_t(shiftState(event->modifiers())));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  host_.mainWindowClosing();
  event->accept();
}

bool MainWindow::focusNextPrevChild(bool next) {
  // With the keys on the arena, Tab is a key like any other rather than a
  // way to wander into the start panel's widgets.
  if (hasFocus()) return false;
  return QWidget::focusNextPrevChild(next);
}

}  // namespace zelkar::qt
