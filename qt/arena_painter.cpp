#include "qt/arena_painter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "qt/bgr_colour.h"
#include "qt/core_texts.h"
#include "qt/game_font.h"
#include "qt/language.h"
#include "qt/text_cache.h"
#include "ui/stacking.h"
#include "ui/vehicle_pictures.h"

namespace zelkar::qt {

namespace {

constexpr int16_t kPrintPoints = 9;  // the window's own text size, for printed text

// Building a QFont for every label on every frame costs more than the rest
// of the frame; the handful of sizes in use are kept, per language.
// `closerPx` sets the letters that many pixels closer together.
const QFont& fontFor(int16_t points, bool bold, int closerPx = 0) {
  static std::map<std::tuple<Language, int16_t, bool, int>, QFont> cache;
  const auto key = std::tuple(currentLanguage(), points, bold, closerPx);
  auto it = cache.find(key);
  if (it == cache.end()) {
    QFont font = gameFont(points, bold);
    if (closerPx > 0) font.setLetterSpacing(QFont::AbsoluteSpacing, -closerPx);
    it = cache.emplace(key, font).first;
  }
  return it->second;
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

// Read-outs always run past their box. The layout measured every label's
// box for the Japanese face; in another face a label's text may be wider or
// taller (its descenders), and then runs on to the right and below, over
// the background beside it, so that a translation shows whole.
bool mayRunPast(const Item& it) {
  return it.align == Align::Right ||
         (it.kind == Widget::Label && currentLanguage() != Language::japanese);
}

bool runsPastBox(const Item& it, const QRect& box, const QStaticText& text) {
  if (it.align == Align::Right) return true;
  return mayRunPast(it) &&
         (text.size().width() > box.width() || text.size().height() > box.height());
}

// Where the caption's glyphs may fall: its laid-out box with a pixel's
// margin for the edges of the glyphs, within the panel.
QRect captionArea(const Item& it, const Placement& place, const QStaticText& text) {
  const QRectF laidOut(captionOrigin(it, place.box, text.size()), text.size());
  return laidOut.toAlignedRect().adjusted(-2, -2, 2, 2) & place.clip;
}

// Rows of `frame` inside `r` set to `colour`: the first row filled, the
// others copied from it, which goes at the speed of a block copy.
void fillFrame(QImage& frame, const QRect& r, QRgb colour) {
  if (r.isEmpty()) return;
  auto* first = reinterpret_cast<QRgb*>(frame.scanLine(r.top())) + r.left();
  std::fill(first, first + r.width(), colour);
  for (int y = r.top() + 1; y <= r.bottom(); ++y)
    std::memcpy(reinterpret_cast<QRgb*>(frame.scanLine(y)) + r.left(), first,
                std::size_t(r.width()) * sizeof(QRgb));
}

// One pass over the stack for the whole area, however many pieces it has:
// an item outside it costs a rectangle test, and pictures and boxes are
// written straight into the frame piece by piece. Only text goes through
// the painter, clipped to each piece it falls in.
class ItemPainter {
 public:
  ItemPainter(QImage& frame, const ScreenModel& m, const QRegion& area, QPainter* painter)
      : frame_(frame), m_(m), area_(area), bounds_(area.boundingRect()), given_(painter) {}

  // Printed text lies on the window's own surface, beneath every item.
  void printed() {
    const QFont& font = fontFor(kPrintPoints, false);
    for (const PrintedText& t : m_.printed) {
      const QSizeF size = texts().get(font, t.text.view()).size();
      // Its glyphs start at (x, y); a few pixels' margin for the layout of
      // drawText, which may differ from the laid-out size by a pixel.
      const QRect reach = QRectF(QPointF(t.x, t.y), size).toAlignedRect().adjusted(-4, -4, 4, 4);
      if (!area_.intersects(reach)) continue;
      QPainter& p = painter();
      p.setFont(font);
      p.setPen(colourFromBgr(t.color));
      const QString text = coreText(t.text.view());
      forEachPiece(reach, QRect(0, 0, kClientWidth, kClientHeight), [&] {
        p.drawText(QRect(t.x, t.y, kClientWidth, kClientHeight),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
      });
    }
  }

  // The probe view of the item (its picture, or an opaque box of its back
  // colour), then its caption on top in its own colour.
  void item(const Item& it, const Item* parent) {
    if (!it.visible || it.width <= 0 || it.height <= 0) return;
    if (parent != nullptr && !parent->visible) return;
    const Placement place = placementOf(it, parent);
    const QRect shown = place.box & place.clip;
    const bool boxHere = shown.intersects(bounds_) && area_.intersects(shown);

    const int16_t index = drawnPicture(m_, it);
    const Picture* pic = index >= 0 && std::size_t(index) < m_.pictures.size()
                             ? &m_.pictures[std::size_t(index)]
                             : nullptr;
    if (pic != nullptr && pic->empty()) pic = nullptr;
    if (pic != nullptr) {
      if (!boxHere) return;
      for (const QRect& piece : area_)
        if (piece.intersects(shown)) blitPicture(frame_, *pic, place.box, place.clip & piece);
      return;
    }
    if (it.kind == Widget::Image) return;
    if (boxHere) {
      const QRgb back = rgbFromBgr(it.backColor);
      for (const QRect& piece : area_) fillFrame(frame_, shown & piece, back);
    }
    if (hasCaption(it.kind) && !isRealWidget(m_, &it)) caption(it, place, boxHere);
  }

 private:
  void caption(const Item& it, const Placement& place, bool boxHere) {
    // Only read-outs and labels reach past their box; other captions show
    // within it.
    if (!mayRunPast(it) && !boxHere) return;
    if (it.caption.view().empty()) return;
    const QFont* font = &fontFor(it.fontPoints, it.bold);
    const QStaticText* text = &texts().get(*font, it.caption.view());
    // A label its panel would cut (a unit beside the panel's edge) has its
    // letters set closer, as little as makes it fit.
    const int overrun =
        it.align == Align::Right || it.kind != Widget::Label
            ? 0
            : place.box.left() + int(std::ceil(text->size().width())) - (place.clip.right() + 1);
    if (overrun > 0) {
      const auto letters = qsizetype(coreText(it.caption.view()).size());
      const int closer = int((overrun + letters - 1) / std::max<qsizetype>(1, letters));
      font = &fontFor(it.fontPoints, it.bold, closer);
      text = &texts().get(*font, it.caption.view());
    }
    const bool runsPast = runsPastBox(it, place.box, *text);
    if (!runsPast && !boxHere) return;
    // Read-outs end where their unit begins and run on to the left; a
    // label longer than its box (a translation) runs on to the right.
    const QRect shown = runsPast ? captionArea(it, place, *text) : place.box & place.clip;
    if (!shown.intersects(bounds_) || !area_.intersects(shown)) return;
    const QPointF at = captionOrigin(it, place.box, text->size());
    QPainter& p = painter();
    p.setFont(*font);
    p.setPen(colourFromBgr(it.foreColor));
    const QRect limit = runsPast ? place.clip : shown;
    forEachPiece(shown, limit, [&] { p.drawStaticText(at, *text); });
  }

  // Runs `draw` clipped to each piece of the area that `reach` touches, and
  // to `limit`. One rectangle at a time: the raster painter clips to a
  // rectangle at once, but to a region only after breaking it into spans
  // for every row of the frame, which cost more than the text itself.
  template <typename Draw>
  void forEachPiece(const QRect& reach, const QRect& limit, Draw&& draw) {
    for (const QRect& piece : area_) {
      if (!piece.intersects(reach)) continue;
      painter().setClipRect(piece & limit);
      draw();
    }
  }

  // Begun only when some text is in the area: most ticks change no text.
  QPainter& painter() {
    if (given_ != nullptr) return *given_;
    if (!own_) own_.emplace(&frame_);
    return *own_;
  }

  QImage& frame_;
  const ScreenModel& m_;
  const QRegion& area_;
  QRect bounds_;
  QPainter* given_;
  std::optional<QPainter> own_;  // made only when needed: making one allocates
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
  if (area.isEmpty()) return;
  const int w = target.width(), h = target.height();
  // The source column of each target column, as Picture::stretchedAt picks
  // it; worked out once per picture rather than once per pixel.
  thread_local std::vector<int> columns;
  columns.resize(std::size_t(area.width()));
  for (int x = area.left(); x <= area.right(); ++x)
    columns[std::size_t(x - area.left())] = (x - target.left()) * pic.width / w;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const int32_t* source =
        &pic.pixels[std::size_t((y - target.top()) * pic.height / h) * std::size_t(pic.width)];
    auto* row = reinterpret_cast<QRgb*>(frame.scanLine(y)) + area.left();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const int32_t c = source[columns[i]];
      if (c != kKeyColour) row[i] = rgbFromBgr(c);
    }
  }
}

void paintArena(QImage& frame, const ScreenModel& m) {
  paintArena(frame, m, QRegion(frame.rect()));
}

void paintArena(QImage& frame, const ScreenModel& m, const QRegion& area, QPainter* painter) {
  const QRegion inside = area & frame.rect();
  if (inside.isEmpty()) return;
  const QRgb key = rgbFromBgr(kKeyColour);
  for (const QRect& piece : inside) fillFrame(frame, piece, key);
  ItemPainter items(frame, m, inside, painter);
  items.printed();
  visitStacking(m, [&](const Item& it, const Item* parent) { items.item(it, parent); });
}

QRect paintedArea(const ScreenModel& m, const Item& it, const Item* parent) {
  if (!it.visible || it.width <= 0 || it.height <= 0) return {};
  if (parent != nullptr && !parent->visible) return {};
  const Placement place = placementOf(it, parent);
  const QRect inBox = place.box & place.clip;
  if (!mayRunPast(it) || !hasCaption(it.kind) || isRealWidget(m, &it)) return inBox;
  // A right-aligned caption may run past its box to the left (and, in a
  // larger font, below it); a long label to the right.
  const QStaticText& text = texts().get(fontFor(it.fontPoints, it.bold), it.caption.view());
  if (!runsPastBox(it, place.box, text)) return inBox;
  return inBox | captionArea(it, place, text);
}

}  // namespace zelkar::qt
