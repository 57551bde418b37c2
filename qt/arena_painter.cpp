#include "qt/arena_painter.h"

#include <QPainter>
#include <algorithm>
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

TextCache& texts() {
  static TextCache cache;
  return cache;
}

// Where a caption's text goes: right-aligned ones end at the box's right
// edge, buttons centre theirs, the rest start at the box's corner.
QPointF captionOrigin(const Item& it, const QRect& box, QSizeF size) {
  QPointF at(box.left(), box.top());
  if (it.align == Align::Right)
    at.setX(box.right() + 1 - size.width());
  else if (it.kind == Widget::Button)
    at += QPointF((box.width() - size.width()) / 2, (box.height() - size.height()) / 2);
  return at;
}

// The panel clip and the box of an item as placed in the window.
struct Placement {
  QRect clip;
  QRect box;
};

Placement placementOf(const Item& it, const Item* parent) {
  QRect clip(0, 0, kClientWidth, kClientHeight);
  QPoint origin(0, 0);
  if (parent != nullptr) {
    origin = QPoint(parent->left, parent->top);
    clip &= QRect(origin, QSize(parent->width, parent->height));
  }
  return {clip, QRect(origin + QPoint(it.left, it.top), QSize(it.width, it.height))};
}

class ItemPainter {
 public:
  ItemPainter(QImage& frame, const ScreenModel& m, const QRect& area)
      : frame_(frame), m_(m), area_(area & frame.rect()), painter_(&frame) {
    // Clipping to the frame itself would change nothing; left out, it costs
    // nothing either.
    if (area_ != frame.rect()) painter_.setClipRect(area_);
  }

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
    if (parent != nullptr && !parent->visible) return;
    const Placement place = placementOf(it, parent);
    const QRect& box = place.box;
    // Only the area being painted: pixels outside it are already right.
    const QRect clip = place.clip & area_;
    if (!clip.intersects(box) && it.align != Align::Right) return;

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
    const QPointF at = captionOrigin(it, box, text.size());
    // Read-outs end where their unit begins and run on to the left.
    const QRect shown = it.align == Align::Right ? clip : box & clip;
    if (shown.isEmpty()) return;
    painter_.save();
    painter_.setClipRect(shown);
    painter_.setFont(font);
    painter_.setPen(colourFromBgr(it.foreColor));
    painter_.drawStaticText(at, text);
    painter_.restore();
  }

  QImage& frame_;
  const ScreenModel& m_;
  QRect area_;
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

void paintArena(QImage& frame, const ScreenModel& m) { paintArena(frame, m, frame.rect()); }

void paintArena(QImage& frame, const ScreenModel& m, const QRect& area) {
  const QRect inside = area & frame.rect();
  if (inside.isEmpty()) return;
  if (inside == frame.rect()) {
    frame.fill(rgbFromBgr(kKeyColour));
  } else {
    const QRgb key = rgbFromBgr(kKeyColour);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(frame.scanLine(y));
      std::fill(row + inside.left(), row + inside.right() + 1, key);
    }
  }
  ItemPainter painter(frame, m, inside);
  painter.printed();
  visitStacking(m, [&](const Item& it, const Item* parent) { painter.item(it, parent); });
}

QRect paintedArea(const ScreenModel& m, const Item& it, const Item* parent) {
  if (!it.visible || it.width <= 0 || it.height <= 0) return {};
  if (parent != nullptr && !parent->visible) return {};
  const Placement place = placementOf(it, parent);
  const QRect inBox = place.box & place.clip;
  if (it.align != Align::Right || !hasCaption(it.kind) || isRealWidget(m, &it)) return inBox;
  // A right-aligned caption may run past its box to the left (and, in a
  // larger font, below it): its laid-out size, with a pixel's margin for
  // the antialiased edges of the glyphs.
  const QFont& font = fontFor(it.fontPoints, it.bold);
  const QStaticText& text = texts().get(font, textOf(it.caption));
  const QRectF laidOut(captionOrigin(it, place.box, text.size()), text.size());
  const QRect textArea = laidOut.toAlignedRect().adjusted(-2, -2, 2, 2);
  return (inBox | textArea) & place.clip;
}

}  // namespace zelkar::qt
