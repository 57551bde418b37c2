#include "ui/probe_surface.h"

#include <algorithm>
#include <cstring>

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
  l.x0 = x0, l.y0 = y0, l.x1 = x1, l.y1 = y1;
  l.left = left, l.top = top, l.width = s.width, l.height = s.height;
  l.colour = s.colour;
  l.picture = s.drawable ? s.picture : int16_t{-1};
  return l;
}

// Clipped boxes start at or right of the client area's corner, so the cell
// numbers are plain quotients.
template <typename F>
void ProbeSurface::forCells(const Layer& l, F&& f) {
  if (isEmpty(l.x0, l.y0, l.x1, l.y1)) return;
  for (unsigned cy = unsigned(l.y0) / kCell; cy <= unsigned(l.y1 - 1) / kCell; ++cy)
    for (unsigned cx = unsigned(l.x0) / kCell; cx <= unsigned(l.x1 - 1) / kCell; ++cx)
      f(int(cy) * kCols + int(cx));
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
    const Layer& l = layers_[std::size_t(i)];
    if (isEmpty(std::max(l.x0, x0), std::max(l.y0, y0), std::min(l.x1, x0 + kCell),
                std::min(l.y1, y0 + kCell)))
      continue;
    cells_[std::size_t(c)][n++] = static_cast<uint8_t>(i);
  }
}

void ProbeSurface::place(int slot, const Source& s) {
  const auto at = static_cast<uint8_t>(slot);
  // The old layer is gone before its cells are left, so a cell listed
  // afresh on the way does not list it again.
  const Layer was = layers_[std::size_t(slot)];
  layers_[std::size_t(slot)] = Layer{};
  forCells(was, [&](int c) { removeFromCell(c, at); });
  const Layer& l = layers_[std::size_t(slot)] = layerOf(s);
  forCells(l, [&](int c) { addToCell(c, at); });
  sources_[std::size_t(slot)] = s;
}

void ProbeSurface::captureItem(const ScreenModel& screen, int at, const Item& item,
                               const Item* panel) {
  // Most of the window stays hidden during a round: nothing to compare.
  // Children are hidden with their panel.
  if (!item.visible || (panel != nullptr && !panel->visible)) {
    if (sources_[std::size_t(at)].shown) place(at, Source{});
    return;
  }
  Source s;
  s.shown = true;
  s.left = item.left, s.top = item.top, s.width = item.width, s.height = item.height;
  s.colour = item.backColor;
  s.kind = item.kind;
  s.picture = item.picture;
  const Item* const vehicles = screen.kyara.data();
  if (&item == &vehicles[0] || &item == &vehicles[1])
    s.picture = kyaraPicture(screen, int(&item - vehicles));
  s.drawable = s.picture >= 0 && std::size_t(s.picture) < screen.pictures.size() &&
               !screen.pictures[std::size_t(s.picture)].empty();
  if (panel != nullptr) {
    s.hasPanel = true;
    s.panelLeft = panel->left, s.panelTop = panel->top;
    s.panelWidth = panel->width, s.panelHeight = panel->height;
    s.panelColour = panel->backColor;
  }
  if (std::memcmp(&s, &sources_[std::size_t(at)], sizeof s) != 0) place(at, s);
}

void ProbeSurface::capture(const ScreenModel& screen) {
  int slot = 0;
  visitStacking(screen, [&](const Item& item, const Item* panel) {
    if (slot < kStackedItems) captureItem(screen, slot++, item, panel);
  });
}

// The colour of layer l at (x, y) if it draws there (hit), key colour aside.
inline int32_t ProbeSurface::readLayer(const std::vector<Picture>& pictures, const Layer& l, int x,
                                       int y, bool& hit) {
  hit = false;
  if (x < l.x0 || x >= l.x1 || y < l.y0 || y >= l.y1) return 0;
  if (l.picture < 0) {
    hit = true;
    return l.colour;
  }
  // A picture that is gone draws nothing (the capture saw it drawn).
  if (std::size_t(l.picture) >= pictures.size() || pictures[l.picture].empty()) return 0;
  const Picture& p = pictures[l.picture];
  // Most sprites are drawn at their own size: no stretching to work out.
  const int px = p.width == l.width ? x - l.left : (x - l.left) * p.width / l.width;
  const int py = p.height == l.height ? y - l.top : (y - l.top) * p.height / l.height;
  const int32_t c = p.at(px, py);
  hit = c != kKeyColour;  // key-colour pixels let what lies below show
  return c;
}

int32_t ProbeSurface::getPixel(const std::vector<Picture>& pictures, int x, int y) const {
  if (x < 0 || y < 0 || x >= kClientWidth || y >= kClientHeight) return kNoPixel;
  const auto c = std::size_t(unsigned(y) / kCell * kCols + unsigned(x) / kCell);
  const int n = cellCount_[c];
  bool hit = false;
  if (n > kCellCapacity) {
    for (int i = kStackedItems - 1; i >= 0; --i) {
      const int32_t colour = readLayer(pictures, layers_[std::size_t(i)], x, y, hit);
      if (hit) return colour;
    }
  } else {
    for (int i = n - 1; i >= 0; --i) {
      const int32_t colour = readLayer(pictures, layers_[cells_[c][std::size_t(i)]], x, y, hit);
      if (hit) return colour;
    }
  }
  return kKeyColour;
}

}  // namespace zelkar
