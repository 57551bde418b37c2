#include "ui/compose.h"

#include <algorithm>

#include "ui/vehicle_pictures.h"

namespace zelkar {

void composeArena(const ScreenModel& screen, std::vector<int32_t>& out) {
  out.assign(std::size_t(kClientWidth) * kClientHeight, kKeyColour);
  for (const Item* item : screen.stackingOrder()) {
    if (!item->visible || item->width <= 0 || item->height <= 0) continue;
    const Item* parent = screen.parentOf(*item);
    int x0 = 0, y0 = 0, x1 = kClientWidth, y1 = kClientHeight, ox = 0, oy = 0;
    if (parent != nullptr) {
      if (!parent->visible) continue;
      ox = parent->left, oy = parent->top;
      x0 = std::max(x0, ox), y0 = std::max(y0, oy);
      x1 = std::min(x1, ox + parent->width), y1 = std::min(y1, oy + parent->height);
    }
    const int left = ox + item->left, top = oy + item->top;
    x0 = std::max(x0, left), y0 = std::max(y0, top);
    x1 = std::min(x1, left + item->width), y1 = std::min(y1, top + item->height);

    const int16_t index = drawnPicture(screen, *item);
    const Picture* pic = index >= 0 && std::size_t(index) < screen.pictures.size()
                             ? &screen.pictures[index]
                             : nullptr;
    if (pic != nullptr && pic->empty()) pic = nullptr;
    if (pic == nullptr && item->kind == Widget::Image) continue;

    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        int32_t c = item->backColor;
        if (pic != nullptr) {
          c = pic->stretchedAt(item->width, item->height, x - left, y - top);
          if (c == kKeyColour) continue;
        }
        out[std::size_t(y) * kClientWidth + x] = c;
      }
    }
  }
}

}  // namespace zelkar
