// The main window "ZELKAR GAME": the arena painted from the screen model,
// the real widgets over it, and the keys of both players.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>

#include "qt/explosion_overlay.h"
#include "qt/frame_damage.h"
#include "qt/frame_pacer.h"
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
  // Paints the whole model into frame().
  void renderFrame();
  // Brings frame() up to date with the model, painting only what changed
  // (paintEvent does it before showing it).
  void renderChanges();

  // A handler has changed the model; `everything` when it may have drawn
  // new pictures, so that no part of the frame can be trusted.
  void modelChanged(bool everything);
  // A destroyed vehicle's blast, played over the arena from now on.
  void addExplosion(const VehicleExplosion& e);
  ExplosionOverlay& overlay() { return overlay_; }
  // The overlay's clock, ms: tests step it by hand.
  void setClock(std::function<int64_t()> nowMs) { nowMs_ = std::move(nowMs); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void watchBursts();
  void overlayStep();
  // Has the changes since the last look painted, now or, when a frame was
  // shown less than a screen refresh ago, a little later.
  void showChanges(bool now);
  // `now`: paint what changed before returning; `withNextPaint`: the
  // paint under way or the next one shows it.
  enum class Show { now, withNextPaint };
  void lookAtModel(Show show);
  QPainter& framePainter();
  QRegion onScreen(const QRegion& client) const;

  GameHost& host_;
  int scale_;
  QImage frame_;
  QPainter framePainter_;                    // on frame_, so declared after it: it ends first
  const uchar* framePainterBits_ = nullptr;  // frame_'s pixels when it began
  RealWidgets widgets_;
  bool forwardingToAnswer_ = false;  // a key is on its way to the answer box
  bool keyboardHere_ = false;        // this window has the keyboard
  FrameDamage damage_;
  QRegion stale_;           // client pixels of frame_ behind the model as last looked at
  bool modelAhead_ = true;  // the model changed since the last look
  FramePacer pacer_;
  bool followsScreen_ = false;  // the pacer learns of moves to another screen
  QTimer showTimer_;            // shows changes that no tick came to show
  ExplosionOverlay overlay_;
  QRegion overlayDrawn_;  // window pixels the overlay covers on the screen now
  QTimer overlayTimer_;
  QElapsedTimer clock_;
  std::function<int64_t()> nowMs_;
  std::array<bool, 16> burstShown_{};  // tamabaku(i) visible at the last look
};

}  // namespace zelkar::qt
