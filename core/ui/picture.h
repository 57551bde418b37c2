// A sprite picture: 24-bit colours with blue in the high byte, row by row.
#pragma once

#include <cstdint>
#include <vector>

namespace zelkar {

struct Picture {
  int16_t width = 0;   // px
  int16_t height = 0;  // px
  std::vector<int32_t> pixels;

  Picture() = default;
  Picture(int16_t w, int16_t h, int32_t fill)
      : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
  bool empty() const { return width <= 0 || height <= 0 || pixels.empty(); }
  int32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  void set(int x, int y, int32_t c) { pixels[std::size_t(y) * width + x] = c; }

  // The colour at (x, y) of this picture stretched to w x h: stretching
  // picks source pixels (nearest neighbour), so every drawn pixel keeps one
  // of the picture's own colours.
  int32_t stretchedAt(int16_t w, int16_t h, int x, int y) const {
    return at(x * width / w, y * height / h);
  }
};

}  // namespace zelkar
