#include "ui/screen_model.h"

#include <algorithm>

namespace zelkar {

void Caption::set(std::string_view s) {
  // Cut at a character boundary so a long caption stays valid UTF-8.
  std::size_t n = std::min(s.size(), kCapacity);
  if (n < s.size())
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  std::copy_n(s.data(), n, buf_.data());
  len_ = static_cast<uint8_t>(n);
}

ScreenModel::ScreenModel() {
  // Provisional layout: the sizes the rules measure at load.
  for (auto& k : kyara) k.move(0, 0, 21, 21), k.kind = Widget::PictureBox;
  kiti[0].move(756, 270, 37, 37);
  kiti[1].move(0, 270, 37, 37);
  for (auto& h : houdan) h.move(0, 0, 4, 4), h.kind = Widget::Image;
  for (auto& t : tamabaku) t.move(0, 0, 10, 10), t.kind = Widget::Image;
  for (auto& b : baku) b.move(0, 0, 31, 31), b.kind = Widget::Image;
  for (auto& m : mototiri) m.move(0, 0, 31, 31), m.kind = Widget::PictureBox;
  motokabe.move(352, 304, 31, 31);
  motobaku.move(312, 304, 31, 31);
  totiri.move(392, 304, 31, 31);
  Picture2.move(240, 240, 313, 57);
  Option1.value = true;
  tirikosu.caption = "1";
  tirikosu.enabled = false;
  settei[0].move(592, 24, 193, 177);
  settei[1].move(8, 24, 193, 177);
}

void ScreenModel::print(int16_t x, int16_t y, std::string_view text, int32_t color) {
  printed.erase(std::remove_if(printed.begin(), printed.end(),
                               [&](const PrintedText& p) { return p.x == x && p.y == y; }),
                printed.end());
  if (color != kKeyColour) printed.push_back({x, y, color, Caption(text)});
}

std::vector<const Item*> ScreenModel::stackingOrder() const { return {}; }

}  // namespace zelkar
