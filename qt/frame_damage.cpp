#include "qt/frame_damage.h"

#include "qt/arena_painter.h"
#include "ui/stacking.h"
#include "ui/vehicle_pictures.h"

namespace zelkar::qt {

namespace {

// Pixels a merged rectangle may cover beyond the two it replaces: about a
// read-out's row of text, so that neighbours on one row make one piece.
constexpr int kMergeSlackPx = 8 * 14;

int64_t areaOf(const QRect& r) { return int64_t(r.width()) * r.height(); }

// The marked areas as a region of few pieces. A moving sprite marks where
// it was and where it is, which mostly overlap, and a changed read-out its
// box twice; each piece added to a region costs a pass over all it holds,
// and the painter visits every piece for every item, so rectangles that
// overlap or nearly touch are merged into their bounding box first when
// that repaints hardly more pixels (the same pixels come out either way).
QRegion merged(std::vector<QRect>& rects) {
  for (bool again = true; again;) {
    again = false;
    for (std::size_t i = 0; i < rects.size(); ++i) {
      for (std::size_t j = i + 1; j < rects.size();) {
        const QRect both = rects[i].united(rects[j]);
        if (areaOf(both) <= areaOf(rects[i]) + areaOf(rects[j]) + kMergeSlackPx) {
          rects[i] = both;
          rects[j] = rects.back();
          rects.pop_back();
          again = true;
        } else {
          ++j;
        }
      }
    }
  }
  QRegion out;
  for (const QRect& r : rects) out += r;
  return out;
}

}  // namespace

bool FrameDamage::Look::sameAs(const ScreenModel& m, const Item& it, const Item* parent) const {
  const bool showsNow =
      it.visible && it.width > 0 && it.height > 0 && (parent == nullptr || parent->visible);
  // What the item looks like matters only where it shows.
  if (!showsNow || !shows) return showsNow == shows;
  const QRect panelNow =
      parent != nullptr ? QRect(parent->left, parent->top, parent->width, parent->height) : QRect();
  return box == QRect(it.left, it.top, it.width, it.height) && panel == panelNow &&
         backColor == it.backColor && foreColor == it.foreColor && fontPoints == it.fontPoints &&
         bold == it.bold && kind == it.kind && align == it.align && caption == it.caption &&
         picture == drawnPicture(m, it);
}

void FrameDamage::Look::take(const ScreenModel& m, const Item& it, const Item* parent) {
  *this = Look{};
  shows = it.visible && it.width > 0 && it.height > 0 && (parent == nullptr || parent->visible);
  if (!shows) return;
  box = QRect(it.left, it.top, it.width, it.height);
  if (parent != nullptr) panel = QRect(parent->left, parent->top, parent->width, parent->height);
  picture = drawnPicture(m, it);
  backColor = it.backColor;
  foreColor = it.foreColor;
  fontPoints = it.fontPoints;
  bold = it.bold;
  kind = it.kind;
  align = it.align;
  caption = it.caption;
  area = paintedArea(m, it, parent);
}

QRegion FrameDamage::look(const ScreenModel& m) {
  const QRect whole(0, 0, kClientWidth, kClientHeight);
  bool printedSame = printed_.size() == m.printed.size();
  for (std::size_t i = 0; printedSame && i < printed_.size(); ++i) {
    const Printed& a = printed_[i];
    const PrintedText& b = m.printed[i];
    printedSame = a.x == b.x && a.y == b.y && a.color == b.color && a.text == b.text.view();
  }
  if (!printedSame) {
    printed_.clear();
    for (const PrintedText& t : m.printed) printed_.push_back({t.x, t.y, t.color, t.text});
  }
  // New pictures appear only at load and start-up; repainting everything
  // then is simpler than tracking which items use them.
  const bool all = everything_ || !printedSame || m.pictures.size() != pictureCount_;

  marked_.clear();
  // Compared in place with the item as last seen: most items are unchanged,
  // and copying each one's look only to compare it costs more than the rest.
  std::size_t i = 0;
  bool sameItems = true;
  visitStacking(m, [&](const Item& it, const Item* parent) {
    if (i == looks_.size()) looks_.emplace_back(), sameItems = false;
    Look& l = looks_[i++];
    if (!all && l.sameAs(m, it, parent)) return;
    if (!l.area.isEmpty()) marked_.push_back(l.area);
    l.take(m, it, parent);
    if (!l.area.isEmpty()) marked_.push_back(l.area);
  });
  if (i != looks_.size()) looks_.resize(i), sameItems = false;
  const QRegion changed = all || !sameItems ? QRegion(whole) : merged(marked_);
  everything_ = false;
  pictureCount_ = m.pictures.size();
  return changed & whole;
}

}  // namespace zelkar::qt
