#include "qt/arena_painter.h"

#include <QPainter>
#include <map>
#include <utility>

#include "qt/bgr_colour.h"
#include "qt/japanese_font.h"
#include "qt/text_cache.h"
#include "ui/stacking.h"
#include "ui/vehicle_pictures.h"

namespace zelkar::qt {

namespace {

constexpr int16_t kPrintPoints = 9;  // the window's own text size, for printed text

// Building a QFont for every label on every frame costs more than the rest
// of the frame; the handful of sizes in use are kept.
const QFont& fontFor(int16_t points, bool bold) {
  static std::map<std::pair<int16_t, bool>, QFont> cache;
  auto it = cache.find({points, bold});
  if (it == cache.end()) it = cache.emplace(std::pair{points, bold}, gameFont(points, bold)).first;
  return it->second;
}

QString textOf(const Caption& c) {
  return QString::fromUtf8(c.view().data(), qsizetype(c.view().size()));
}

bool hasCaption(Widget kind) {
  return kind == Widget::Label || kind == Widget::TextBox || kind == Widget::Button ||
         kind == Widget::Option || kind == Widget::Check;
}

class ItemPainter {
 public:
  ItemPainter(QImage& frame, const ScreenModel& m) : frame_(frame), m_(m), painter_(&frame) {}

  // Printed text lies on the window's own surface, beneath every item.
  void printed() {
    painter_.setFont(fontFor(kPrintPoints, false));
    for (const PrintedText& t : m_.printed) {
      painter_.setPen(colourFromBgr(t.color));
      painter_.drawText(QRect(t.x, t.y, kClientWidth, kClientHeight),
                        Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, textOf(t.text));
    }
  }

  // The probe view of the item (its picture, or an opaque box of its back
  // colour), then its caption on top in its own colour.
  void item(const Item& it, const Item* parent) {
    if (!it.visible || it.width <= 0 || it.height <= 0) return;
    QRect clip = frame_.rect();
    QPoint origin(0, 0);
    if (parent != nullptr) {
      if (!parent->visible) return;
      origin = QPoint(parent->left, parent->top);
      clip &= QRect(origin, QSize(parent->width, parent->height));
    }
    const QRect box(origin + QPoint(it.left, it.top), QSize(it.width, it.height));

    const int16_t index = drawnPicture(m_, it);
    const Picture* pic = index >= 0 && std::size_t(index) < m_.pictures.size()
                             ? &m_.pictures[std::size_t(index)]
                             : nullptr;
    if (pic != nullptr && pic->empty()) pic = nullptr;
    if (pic != nullptr) {
      // The raster painter draws at once, so writing pixels beside it
      // keeps the order of the stack.
      blitPicture(frame_, *pic, box, clip);
      return;
    }
    if (it.kind == Widget::Image) return;
    painter_.fillRect(box & clip, colourFromBgr(it.backColor));
    if (hasCaption(it.kind) && !isRealWidget(m_, &it)) caption(it, box, clip);
  }

 private:
  void caption(const Item& it, const QRect& box, const QRect& clip) {
    const QFont& font = fontFor(it.fontPoints, it.bold);
    const QStaticText& text = texts().get(font, textOf(it.caption));
    const QSizeF size = text.size();
    QPointF at(box.left(), box.top());
    QRect shown = box & clip;
    if (it.align == Align::Right) {
      // Read-outs end where their unit begins and run on to the left.
      at.setX(box.right() + 1 - size.width());
      shown = clip;
    } else if (it.kind == Widget::Button) {
      at += QPointF((box.width() - size.width()) / 2, (box.height() - size.height()) / 2);
    }
    painter_.save();
    painter_.setClipRect(shown);
    painter_.setFont(font);
    painter_.setPen(colourFromBgr(it.foreColor));
    painter_.drawStaticText(at, text);
    painter_.restore();
  }

  static TextCache& texts() {
    static TextCache cache;
    return cache;
  }

  QImage& frame_;
  const ScreenModel& m_;
  QPainter painter_;
};

}  // namespace

QImage makeArenaFrame() { return QImage(kClientWidth, kClientHeight, QImage::Format_RGB32); }

bool isRealWidget(const ScreenModel& m, const Item* item) {
  return item == &m.han || item == &m.Label1 || item == &m.Option1 || item == &m.Option2 ||
         item == &m.tirikosu || item == &m.mas || item == &m.game;
}

void blitPicture(QImage& frame, const Picture& pic, const QRect& target, const QRect& clip) {
  if (pic.empty() || target.width() <= 0 || target.height() <= 0) return;
  const QRect area = target & clip & frame.rect();
  const auto w = int16_t(target.width());
  const auto h = int16_t(target.height());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(frame.scanLine(y));
    for (int x = area.left(); x <= area.right(); ++x) {
      const int32_t c = pic.stretchedAt(w, h, x - target.left(), y - target.top());
      if (c != kKeyColour) row[x] = rgbFromBgr(c);
    }
  }
}

void paintArena(QImage& frame, const ScreenModel& m) {
  frame.fill(rgbFromBgr(kKeyColour));
  ItemPainter painter(frame, m);
  painter.printed();
  visitStacking(m, [&](const Item& it, const Item* parent) { painter.item(it, parent); });
}

}  // namespace zelkar::qt
