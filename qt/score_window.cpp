#include "qt/score_window.h"

#include <QEvent>
#include <QImage>
#include <QPainter>

#include "qt/bgr_colour.h"
#include "qt/game_font.h"

namespace zelkar::qt {

namespace {

constexpr int kWidth = 256;     // px, client area
constexpr int kHeight = 129;    // px
constexpr int kDividerY = 32;   // px: the line under the captions
constexpr int kDividerX = 128;  // px: the line between the halves
constexpr int kLineWidth = 3;   // px
constexpr double kCaptionPoints = 11.25;

}  // namespace

ScoreWindow::ScoreWindow(const ScreenModel& model, QWidget* mainWindow, int scale)
    : QWidget(mainWindow, Qt::Window), model_(&model), mainWindow_(mainWindow), scale_(scale) {
  setWindowTitle(tr("得点"));
  setFixedSize(kWidth * scale, kHeight * scale);
  // Showing it at the start of a match must not take the keys away.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
}

bool ScoreWindow::event(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) {
    setWindowTitle(tr("得点"));
    update();
  }
  if (event->type() == QEvent::WindowActivate && mainWindow_ != nullptr) {
    mainWindow_->activateWindow();
    mainWindow_->setFocus(Qt::ActiveWindowFocusReason);
  }
  return QWidget::event(event);
}

void ScoreWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (scale_ == 1) {
    paintContents(p);
    return;
  }
  // Enlarged like the arena: each pixel copied, text included.
  QImage contents(kWidth, kHeight, QImage::Format_RGB32);
  {
    QPainter q(&contents);
    paintContents(q);
  }
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(rect(), contents);
}

void ScoreWindow::paintContents(QPainter& p) const {
  p.fillRect(QRect(0, 0, kWidth, kHeight), Qt::white);

  p.setFont(gameFont(kCaptionPoints, true));
  p.drawText(QRect(8, 8, kDividerX - 8, kDividerY - 8), Qt::AlignLeft | Qt::AlignTop,
             tr("左側の人の得点"));
  p.drawText(QRect(136, 8, kWidth - 136, kDividerY - 8), Qt::AlignLeft | Qt::AlignTop,
             tr("右側の人の得点"));

  // The scores are laid out by the model like the main window's labels.
  for (const Item& score : model_->tokuten) {
    if (!score.visible) continue;
    const QRect box(score.left, score.top, score.width, score.height);
    p.fillRect(box, colourFromBgr(score.backColor));
    // The figures keep the face their boxes were measured for.
    p.setFont(layoutFont(score.fontPoints, score.bold));
    p.setPen(colourFromBgr(score.foreColor));
    const std::string_view text = score.caption.view();
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop,
               QString::fromUtf8(text.data(), qsizetype(text.size())));
  }
  // The dividers last: the score boxes touch the line under the captions.
  p.setPen(QPen(Qt::black, kLineWidth));
  p.drawLine(0, kDividerY, kWidth, kDividerY);
  p.drawLine(kDividerX, 0, kDividerX, kHeight);
}

}  // namespace zelkar::qt
