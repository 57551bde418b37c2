#include "qt/window_icon.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

namespace zelkar::qt {

namespace {

constexpr double kViewBox = 64;  // the SVG's own units

}  // namespace

QImage drawGameIcon(int pixels) {
  QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(pixels / kViewBox, pixels / kViewBox);
  // The arena floor.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x80, 0xff, 0x80));
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
  // The vehicle's disc and its hub.
  const QColor outline(0x0b, 0x4d, 0x15);
  p.setPen(QPen(outline, 3));
  p.setBrush(QColor(0x1f, 0x8f, 0x2f));
  p.drawEllipse(QPointF(32, 34), 19, 19);
  p.setPen(QPen(outline, 2));
  p.setBrush(QColor(0x2f, 0xb0, 0x40));
  p.drawEllipse(QPointF(32, 34), 7, 7);
  // The gun, up and to the right.
  p.setPen(QPen(QColor(0x80, 0x40, 0x40), 5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(32, 34), QPointF(53, 11));
  return image;
}

QIcon gameIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(QPixmap::fromImage(drawGameIcon(size)));
  return icon;
}

void useGameIcon() {
  if (QApplication::windowIcon().availableSizes().isEmpty())
    QApplication::setWindowIcon(gameIcon());
}

}  // namespace zelkar::qt
