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

bool FrameDamage::Look::sameInputs(const Look& o) const {
  return shows == o.shows && box == o.box && panel == o.panel && picture == o.picture &&
         backColor == o.backColor && foreColor == o.foreColor && fontPoints == o.fontPoints &&
         bold == o.bold && kind == o.kind && align == o.align && caption == o.caption.view();
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
  next_.resize(kStackedItems);
  std::size_t i = 0;
  visitStacking(m, [&](const Item& it, const Item* parent) {
    if (i >= next_.size()) next_.resize(i + 1);
    Look& l = next_[i];
    l = Look{};
    l.shows = it.visible && it.width > 0 && it.height > 0 && (parent == nullptr || parent->visible);
    // What the item looks like matters only where it shows.
    if (l.shows) {
      l.box = QRect(it.left, it.top, it.width, it.height);
      if (parent != nullptr)
        l.panel = QRect(parent->left, parent->top, parent->width, parent->height);
      l.picture = drawnPicture(m, it);
      l.backColor = it.backColor;
      l.foreColor = it.foreColor;
      l.fontPoints = it.fontPoints;
      l.bold = it.bold;
      l.kind = it.kind;
      l.align = it.align;
      l.caption = it.caption.view();
    }
    const Look* before = i < looks_.size() ? &looks_[i] : nullptr;
    if (!all && before != nullptr && l.sameInputs(*before)) {
      l.area = before->area;
    } else {
      l.area = l.shows ? paintedArea(m, it, parent) : QRect();
      if (!all) {
        if (before != nullptr && !before->area.isEmpty()) marked_.push_back(before->area);
        if (!l.area.isEmpty()) marked_.push_back(l.area);
      }
    }
    ++i;
  });
  next_.resize(i);
  const bool allNow = all || looks_.size() != next_.size();
  const QRegion changed = allNow ? QRegion(whole) : merged(marked_);
  everything_ = false;
  pictureCount_ = m.pictures.size();
  std::swap(looks_, next_);
  return changed & whole;
}

}  // namespace zelkar::qt
