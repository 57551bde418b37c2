#include "ui/probe_surface.h"

#include <algorithm>

#include "ui/vehicle_pictures.h"

namespace zelkar {

void ProbeSurface::addToCells(uint8_t layer) {
  const Layer& l = layers_[layer];
  for (int cy = l.y0 / kCell; cy <= (l.y1 - 1) / kCell; ++cy) {
    for (int cx = l.x0 / kCell; cx <= (l.x1 - 1) / kCell; ++cx) {
      const int c = cy * kCols + cx;
      uint8_t& n = cellCount_[c];
      if (n == kOverflow) continue;
      if (n == kCellCapacity) {
        n = kOverflow;
        continue;
      }
      cells_[c][n++] = layer;
    }
  }
}

void ProbeSurface::capture(const ScreenModel& screen) {
  count_ = 0;
  cellCount_.fill(0);
  visitStacking(screen, [&](const Item& item, const Item* parent) {
    if (!item.visible || item.width <= 0 || item.height <= 0 || count_ >= kStackedItems) return;
    int32_t left = item.left, top = item.top;
    int32_t cx0 = 0, cy0 = 0, cx1 = kClientWidth, cy1 = kClientHeight;
    if (parent != nullptr) {
      // Children are placed in their panel, clipped to it and hidden with it.
      if (!parent->visible) return;
      left += parent->left;
      top += parent->top;
      cx0 = std::max<int32_t>(cx0, parent->left);
      cy0 = std::max<int32_t>(cy0, parent->top);
      cx1 = std::min<int32_t>(cx1, parent->left + parent->width);
      cy1 = std::min<int32_t>(cy1, parent->top + parent->height);
    }
    Layer l{};
    l.x0 = std::max(left, cx0);
    l.y0 = std::max(top, cy0);
    l.x1 = std::min(left + item.width, cx1);
    l.y1 = std::min(top + item.height, cy1);
    if (l.x0 >= l.x1 || l.y0 >= l.y1) return;
    l.left = left, l.top = top, l.width = item.width, l.height = item.height;
    l.colour = item.backColor;
    l.picture = -1;
    const int16_t pic = drawnPicture(screen, item);
    // A plain child in its panel's own colour draws what the panel drew:
    // the settings panels' dozens of labels need no layer of their own.
    if (parent != nullptr && pic < 0 && item.backColor == parent->backColor) return;
    if (pic >= 0 && std::size_t(pic) < screen.pictures.size() && !screen.pictures[pic].empty())
      l.picture = pic;
    else if (item.kind == Widget::Image)
      return;  // an image without a picture draws nothing
    layers_[count_] = l;
    addToCells(static_cast<uint8_t>(count_));
    ++count_;
  });
}

// The colour of layer l at (x, y) if it draws there (hit), key colour aside.
int32_t ProbeSurface::readLayer(const std::vector<Picture>& pictures, const Layer& l, int x, int y,
                                bool& hit) {
  hit = false;
  if (x < l.x0 || x >= l.x1 || y < l.y0 || y >= l.y1) return 0;
  if (l.picture < 0) {
    hit = true;
    return l.colour;
  }
  // A picture that is gone draws nothing (the capture saw it drawn).
  if (std::size_t(l.picture) >= pictures.size() || pictures[l.picture].empty()) return 0;
  const Picture& p = pictures[l.picture];
  const int32_t c = p.at((x - l.left) * p.width / l.width, (y - l.top) * p.height / l.height);
  hit = c != kKeyColour;  // key-colour pixels let what lies below show
  return c;
}

int32_t ProbeSurface::getPixel(const std::vector<Picture>& pictures, int x, int y) const {
  if (x < 0 || y < 0 || x >= kClientWidth || y >= kClientHeight) return kNoPixel;
  const int c = (y / kCell) * kCols + x / kCell;
  const int n = cellCount_[c];
  bool hit = false;
  if (n == kOverflow) {
    for (int i = count_ - 1; i >= 0; --i) {
      const int32_t colour = readLayer(pictures, layers_[i], x, y, hit);
      if (hit) return colour;
    }
  } else {
    for (int i = n - 1; i >= 0; --i) {
      const int32_t colour = readLayer(pictures, layers_[cells_[c][i]], x, y, hit);
      if (hit) return colour;
    }
  }
  return kKeyColour;
}

}  // namespace zelkar
