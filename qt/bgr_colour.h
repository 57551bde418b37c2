// The game keeps colours as 24-bit values with blue in the high byte
// (0xBBGGRR); Qt wants red in the high byte. Every colour crossing into Qt
// goes through here so the two orders are never mixed up.
#pragma once

#include <QColor>
#include <QRgb>
#include <cstdint>

namespace zelkar::qt {

inline QRgb rgbFromBgr(int32_t bgr) {
  const int red = bgr & 0xFF;
  const int green = (bgr >> 8) & 0xFF;
  const int blue = (bgr >> 16) & 0xFF;
  return qRgb(red, green, blue);
}

inline QColor colourFromBgr(int32_t bgr) { return QColor::fromRgb(rgbFromBgr(bgr)); }

// The inverse, for reading a painted frame back in the game's order.
inline int32_t bgrFromRgb(QRgb rgb) { return (qBlue(rgb) << 16) | (qGreen(rgb) << 8) | qRed(rgb); }

}  // namespace zelkar::qt
