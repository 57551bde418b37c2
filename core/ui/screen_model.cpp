#include "ui/screen_model.h"

#include <algorithm>

#include "ui/layout.h"

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
  // Sources, bases, shells and bodies now; 128 vehicle pictures and 62
  // stamped ones at start-up. Reserving keeps the vector from moving then.
  pictures.reserve(256);
  layout::startPanel(*this);
  layout::settingsPanels(*this);
  layout::instruments(*this);
  layout::messages(*this);
  layout::sprites(*this);
  layout::scoreWindow(*this);
}

void ScreenModel::print(int16_t x, int16_t y, std::string_view text, int32_t color) {
  printed.erase(std::remove_if(printed.begin(), printed.end(),
                               [&](const PrintedText& p) { return p.x == x && p.y == y; }),
                printed.end());
  if (color != kKeyColour) printed.push_back({x, y, color, Caption(text)});
}

const Item* ScreenModel::parentOf(const Item& item) const {
  const Item* it = &item;
  // Plain equality: ordering pointers into different arrays is unspecified.
  auto in = [it](const auto& arr, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
      if (it == &arr[i]) return true;
    return false;
  };
  for (const Item* child : {&Label1, &Option1, &Option2, &tirikosu, &mas, &game})
    if (it == child) return &Picture2;
  for (int p = 0; p < 2; ++p) {
    if (it == &labe1[p] || it == &Labe2[p]) return &settei[p];
    const std::size_t from = 7 * std::size_t(p), to = from + 7;
    if (in(lab, from, to) || in(setsuuti, from, to) || in(tani, from, to)) return &settei[p];
  }
  return nullptr;
}

}  // namespace zelkar
