#include "qt/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "qt/arena_painter.h"
#include "qt/game_host.h"
#include "qt/keymap.h"

namespace zelkar::qt {

namespace {

// About 60 pictures a second: each size of a blast gets a frame or two.
constexpr int kOverlayFrameMs = 16;

// A sprite picture as an image whose key-colour pixels are see-through.
QImage spriteImage(const Picture& pic, const QSize& size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  blitPicture(image, pic, image.rect(), image.rect());
  return image;
}

}  // namespace

MainWindow::MainWindow(GameHost& host, int scale)
    : host_(host), scale_(scale), frame_(makeArenaFrame()), widgets_(this, scale) {
  setWindowTitle(QStringLiteral("ZELKAR GAME"));
  setFixedSize(kClientWidth * scale, kClientHeight * scale);
  setFocusPolicy(Qt::StrongFocus);
  // Every pixel is painted from the frame; nothing to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  stale_ = frame_.rect();
  clock_.start();
  nowMs_ = [this] { return clock_.elapsed(); };
  if (QScreen* shown = screen(); shown != nullptr) pacer_.setRefreshHz(shown->refreshRate());
  showTimer_.setSingleShot(true);
  connect(&showTimer_, &QTimer::timeout, this, [this] { showChanges(true); });
  overlayTimer_.setInterval(kOverlayFrameMs);
  connect(&overlayTimer_, &QTimer::timeout, this, &MainWindow::overlayStep);
  // Whichever window had the keyboard meanwhile (a dialog of this window
  // included, which leaves this one "active" in Qt's eyes), the keys come
  // back when the keyboard does.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focused) {
    const bool here = focused != nullptr && focused == windowHandle();
    if (here && !keyboardHere_) host_.mainWindowActivated();
    keyboardHere_ = here;
  });
}

void MainWindow::renderFrame() {
  damage_.invalidate();
  damage_.look(host_.game().screen);
  modelAhead_ = false;
  paintArena(frame_, host_.game().screen, QRegion(frame_.rect()), &framePainter());
  stale_ = QRegion();
}

void MainWindow::renderChanges() {
  if (modelAhead_) lookAtModel(Show::withNextPaint);
  if (!stale_.isEmpty()) paintArena(frame_, host_.game().screen, stale_, &framePainter());
  stale_ = QRegion();
}

QPainter& MainWindow::framePainter() {
  // Kept open between frames: opening a painter costs about as much as
  // the text of a frame. Writing pixels makes the frame its own if a copy
  // of it was taken meanwhile; the painter then has to follow it there.
  if (framePainter_.isActive() && frame_.bits() != framePainterBits_) framePainter_.end();
  if (!framePainter_.isActive()) {
    framePainter_.begin(&frame_);
    framePainterBits_ = frame_.bits();
  }
  return framePainter_;
}

QRegion MainWindow::onScreen(const QRegion& client) const {
  if (scale_ == 1) return client;
  QRegion out;
  for (const QRect& r : client)
    out += QRect(r.left() * scale_, r.top() * scale_, r.width() * scale_, r.height() * scale_);
  return out;
}

void MainWindow::changeEvent(QEvent* event) {
  // Another language: the same model, every caption and font new.
  if (event->type() == QEvent::LanguageChange) {
    widgets_.retranslate(host_.game().screen);
    modelChanged(true);
  }
  QWidget::changeEvent(event);
}

void MainWindow::modelChanged(bool everything) {
  if (everything) damage_.invalidate();
  watchBursts();
  modelAhead_ = true;
  showChanges(false);
}

void MainWindow::showChanges(bool now) {
  if (!modelAhead_) return;
  if (!now) {
    const int64_t wait = pacer_.waitBeforeShowing(nowMs_());
    if (wait > 0) {
      if (!showTimer_.isActive()) showTimer_.start(int(wait));
      return;
    }
  }
  lookAtModel(Show::now);
}

void MainWindow::lookAtModel(Show show) {
  // What changed since the last look, however many handlers ran between:
  // a state that was never shown needs no repainting of its own.
  modelAhead_ = false;
  showTimer_.stop();
  const QRegion changed = damage_.look(host_.game().screen);
  if (changed.isEmpty()) return;
  stale_ += changed;
  // The pacer has decided that this change is to be seen now: painted at
  // once rather than posted as an update request, which would wake the
  // event loop once more for every frame of a match (a few per cent of the
  // window's processor time, between the wake-up and the loop's round).
  if (show == Show::now)
    repaint(onScreen(changed));
  else
    update(onScreen(changed));
}

void MainWindow::watchBursts() {
  const ScreenModel& m = host_.game().screen;
  // A burst that has just appeared is played again, slower, on top.
  for (std::size_t i = 0; i < burstShown_.size(); ++i) {
    const Item& b = m.tamabaku[i];
    const bool shown = b.visible && b.width > 0;
    if (shown && !burstShown_[i]) {
      overlay_.addBurst(QRect(b.left, b.top, b.width, b.height), b.picture, nowMs_());
      overlayStep();
    }
    burstShown_[i] = shown;
  }
}

void MainWindow::addExplosion(const VehicleExplosion& e) {
  overlay_.addVehicle(e, nowMs_());
  overlayStep();
}

void MainWindow::overlayStep() {
  QRegion now;
  for (const ExplosionOverlay::Sprite& s : overlay_.at(nowMs_())) now += s.box;
  // What it covered goes back to the arena beneath, what it covers now is drawn.
  const QRegion next = onScreen(now);
  if (!(next.isEmpty() && overlayDrawn_.isEmpty())) update(overlayDrawn_ + next);
  if (overlay_.empty() && next.isEmpty())
    overlayTimer_.stop();
  else if (!overlayTimer_.isActive())
    overlayTimer_.start();
}

void MainWindow::paintEvent(QPaintEvent* event) {
  renderChanges();
  QPainter p(this);
  // Enlarging must copy pixels, not blend them: no smooth transform.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  for (const QRect& r : event->region()) {
    // The client pixels behind this part of the window, whole pixels only.
    const QRect source = QRect(QPoint(r.left() / scale_, r.top() / scale_),
                               QPoint(r.right() / scale_, r.bottom() / scale_)) &
                         frame_.rect();
    const QRect target(source.left() * scale_, source.top() * scale_, source.width() * scale_,
                       source.height() * scale_);
    p.drawImage(target, frame_, source);
  }

  // Only this event's region is painted: outside it the screen keeps what
  // earlier events drew there, a larger size of a blast included, which
  // the next overlay step must still paint over.
  QRegion drawn;
  const ScreenModel& m = host_.game().screen;
  for (const ExplosionOverlay::Sprite& s : overlay_.at(nowMs_())) {
    if (s.picture < 0 || std::size_t(s.picture) >= m.pictures.size() || s.box.isEmpty()) continue;
    const QRect target = onScreen(s.box).boundingRect();
    p.drawImage(target, spriteImage(m.pictures[std::size_t(s.picture)], s.box.size()));
    drawn += target;
  }
  overlayDrawn_ = overlayDrawn_.subtracted(event->region()) + drawn.intersected(event->region());
  pacer_.shown(nowMs_());
  host_.framePainted();
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The native window exists from the first showing on.
  if (followsScreen_ || windowHandle() == nullptr) return;
  followsScreen_ = true;
  connect(windowHandle(), &QWindow::screenChanged, this, [this](QScreen* now) {
    if (now != nullptr) pacer_.setRefreshHz(now->refreshRate());
  });
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // While the question waits, typing answers it wherever the focus went.
  QLineEdit* answer = widgets_.han();
  if (host_.game().screen.focus == Focus::Han && answer->isVisible()) {
    // A key the box has no use for comes back here as its parent's. It is
    // dropped: handing it over again would pass it between the two until
    // the stack ran out. The box had it first when it held the focus.
    const bool handedBack = forwardingToAnswer_ || answer->hasFocus();
    if (!handedBack) {
      answer->setFocus(Qt::OtherFocusReason);
      forwardingToAnswer_ = true;
      QCoreApplication::sendEvent(answer, event);
      forwardingToAnswer_ = false;
    }
    event->accept();
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
