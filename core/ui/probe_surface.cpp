#include "ui/probe_surface.h"

#include <algorithm>

#include "ui/vehicle_pictures.h"

namespace zelkar {

namespace {

constexpr bool isEmpty(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return x0 >= x1 || y0 >= y1;
}

}  // namespace

ProbeSurface::Layer ProbeSurface::layerOf(const Source& s) {
  Layer l{};
  if (!s.shown || s.width <= 0 || s.height <= 0) return l;
  int32_t left = s.left, top = s.top;
  int32_t cx0 = 0, cy0 = 0, cx1 = kClientWidth, cy1 = kClientHeight;
  if (s.hasPanel) {
    // Children are placed in their panel and clipped to it.
    left += s.panelLeft;
    top += s.panelTop;
    cx0 = std::max<int32_t>(cx0, s.panelLeft);
    cy0 = std::max<int32_t>(cy0, s.panelTop);
    cx1 = std::min<int32_t>(cx1, s.panelLeft + s.panelWidth);
    cy1 = std::min<int32_t>(cy1, s.panelTop + s.panelHeight);
  }
  const int32_t x0 = std::max(left, cx0), y0 = std::max(top, cy0);
  const int32_t x1 = std::min(left + s.width, cx1), y1 = std::min(top + s.height, cy1);
  if (isEmpty(x0, y0, x1, y1)) return l;
  // A plain child in its panel's own colour draws what the panel drew:
  // the settings panels' dozens of labels need no layer of their own.
  if (s.hasPanel && s.picture < 0 && s.colour == s.panelColour) return l;
  // An image without a picture draws nothing.
  if (!s.drawable && s.kind == Widget::Image) return l;
  // Clipped to the client area, the box fits 16 bits.
  l.box = {int16_t(x0), int16_t(y0), uint16_t(x1 - x0), uint16_t(y1 - y0)};
  l.look = {left, top, s.width, s.height, s.colour, s.drawable ? s.picture : int16_t{-1}};
  return l;
}

// Clipped boxes start at or right of the client area's corner, so the cell
// numbers are plain quotients.
ProbeSurface::CellSpan ProbeSurface::cellsOf(const Box& b) {
  if (b.w == 0) return CellSpan{};
  return CellSpan{unsigned(b.x0) / kCell, unsigned(b.y0) / kCell,
                  (unsigned(b.x0) + b.w - 1) / kCell + 1, (unsigned(b.y0) + b.h - 1) / kCell + 1};
}

template <typename F>
void ProbeSurface::forCells(CellSpan span, F&& f) {
  for (unsigned cy = span.y0; cy < span.y1; ++cy)
    for (unsigned cx = span.x0; cx < span.x1; ++cx) f(int(cy * kCols + cx));
}

void ProbeSurface::addToCell(int c, uint8_t slot) {
  uint8_t& n = cellCount_[std::size_t(c)];
  if (n < kCellCapacity) {
    // Kept bottom first: the layers above this one move up a place.
    auto& list = cells_[std::size_t(c)];
    int i = n;
    for (; i > 0 && list[std::size_t(i - 1)] > slot; --i)
      list[std::size_t(i)] = list[std::size_t(i - 1)];
    list[std::size_t(i)] = slot;
  }
  ++n;
}

void ProbeSurface::removeFromCell(int c, uint8_t slot) {
  uint8_t& n = cellCount_[std::size_t(c)];
  if (n > kCellCapacity) {
    // The list was given up; once the rest fit again it is made afresh.
    if (--n == kCellCapacity) relist(c);
    return;
  }
  auto& list = cells_[std::size_t(c)];
  const auto end = list.begin() + n;
  const auto it = std::find(list.begin(), end, slot);
  std::copy(it + 1, end, it);
  --n;
}

void ProbeSurface::relist(int c) {
  const int32_t x0 = (c % kCols) * kCell, y0 = (c / kCols) * kCell;
  std::size_t n = 0;
  for (int i = 0; i < kStackedItems && n < kCellCapacity; ++i) {
    const Box& b = boxes_[std::size_t(i)];
    if (b.w == 0 || isEmpty(std::max<int32_t>(b.x0, x0), std::max<int32_t>(b.y0, y0),
                            std::min(b.x0 + b.w, x0 + kCell), std::min(b.y0 + b.h, y0 + kCell)))
      continue;
    cells_[std::size_t(c)][n++] = static_cast<uint8_t>(i);
  }
}

void ProbeSurface::place(int slot, const Source& s) {
  const auto at = static_cast<uint8_t>(slot);
  Box& box = boxes_[std::size_t(slot)];
  sources_[std::size_t(slot)] = s;
  const Layer l = layerOf(s);
  looks_[std::size_t(slot)] = l.look;
  const CellSpan was = cellsOf(box), now = cellsOf(l.box);
  // A sprite moving a few pixels mostly stays in the cells it was in, and
  // their lists hold places in the stack, not boxes: nothing to list again.
  if (now == was) {
    box = l.box;
    return;
  }
  // The old layer is gone before its cells are left, so a cell listed
  // afresh on the way does not list it again.
  box = Box{};
  forCells(was, [&](int c) { removeFromCell(c, at); });
  box = l.box;
  forCells(now, [&](int c) { addToCell(c, at); });
}

namespace {

// A box's four 16-bit fields side by side in one number, so that two boxes
// compare in one step (the compiler reads the four neighbours at once).
uint64_t boxBits(int16_t left, int16_t top, int16_t width, int16_t height) {
  return uint64_t(uint16_t(left)) | uint64_t(uint16_t(top)) << 16 |
         uint64_t(uint16_t(width)) << 32 | uint64_t(uint16_t(height)) << 48;
}

}  // namespace

// Inline: it runs for each of the window's 223 items every tick, and a
// call would cost about as much as the comparison.
[[gnu::always_inline]] inline void ProbeSurface::captureItem(const ScreenModel& screen, int at,
                                                             const Item& item, const Item* panel,
                                                             const Picture* pictures,
                                                             std::size_t count) {
  const Source& was = sources_[std::size_t(at)];
  // Most of the window stays hidden during a round: nothing to compare.
  // Children are hidden with their panel.
  if (!item.visible || (panel != nullptr && !panel->visible)) {
    if (was.shown) place(at, Source{});
    return;
  }
  // Only the vehicles are drawn with another picture than their own.
  const int16_t picture =
      item.kind == Widget::PictureBox ? drawnPicture(screen, item) : item.picture;
  const bool drawable =
      picture >= 0 && std::size_t(picture) < count && !pictures[std::size_t(picture)].empty();
  // Compared field by field with what the layer was made from: most items
  // stand still, and a whole record built for each would cost more.
  const bool samePanel =
      panel == nullptr
          ? !was.hasPanel
          : was.hasPanel &&
                boxBits(was.panelLeft, was.panelTop, was.panelWidth, was.panelHeight) ==
                    boxBits(panel->left, panel->top, panel->width, panel->height) &&
                was.panelColour == panel->backColor;
  if (was.shown &&
      boxBits(was.left, was.top, was.width, was.height) ==
          boxBits(item.left, item.top, item.width, item.height) &&
      was.colour == item.backColor && was.picture == picture && was.kind == item.kind &&
      was.drawable == drawable && samePanel)
    return;
  Source s;
  s.shown = true;
  s.left = item.left, s.top = item.top, s.width = item.width, s.height = item.height;
  s.colour = item.backColor;
  s.kind = item.kind;
  s.picture = picture;
  s.drawable = drawable;
  if (panel != nullptr) {
    s.hasPanel = true;
    s.panelLeft = panel->left, s.panelTop = panel->top;
    s.panelWidth = panel->width, s.panelHeight = panel->height;
    s.panelColour = panel->backColor;
  }
  place(at, s);
}

void ProbeSurface::capture(const ScreenModel& screen) {
  int slot = 0;
  const Picture* const pictures = screen.pictures.data();
  const std::size_t count = screen.pictures.size();
  visitStacking(screen, [&](const Item& item, const Item* panel) {
    if (slot < kStackedItems) captureItem(screen, slot++, item, panel, pictures, count);
  });
}

int32_t ProbeSurface::readAll(const std::vector<Picture>& pictures, int x, int y) const {
  int32_t colour = kKeyColour;
  for (int i = kStackedItems - 1; i >= 0; --i)
    if (readLayer(pictures, i, x, y, colour)) return colour;
  return kKeyColour;
}

}  // namespace zelkar
