#include "arena/rounding.h"

#include <cmath>
#include <limits>

namespace zelkar {

std::optional<int16_t> toInt16(double value) {
  if (std::isnan(value)) return std::nullopt;
  // The default floating-point environment rounds to nearest even; the game
  // never changes it, so nearbyint is exactly "round half to even".
  const double r = std::nearbyint(value);
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<int16_t>(r);
}

int16_t toInt16Clamped(double value) {
  if (std::isnan(value)) return 0;
  if (auto v = toInt16(value)) return *v;
  return value < 0 ? std::numeric_limits<int16_t>::min() : std::numeric_limits<int16_t>::max();
}

int16_t floorToInt16Clamped(double value) {
  if (std::isnan(value)) return 0;
  return toInt16Clamped(std::floor(value));
}

double sigonyuu(float atai, int16_t keta) {
  // keta - 1 overflows the 16-bit digit count only for -32768; rather than
  // stop the game, such a request leaves the value unrounded.
  if (keta == std::numeric_limits<int16_t>::min()) return atai;
  const float f = static_cast<float>(std::pow(10.0, keta - 1));
  return std::floor(static_cast<double>(f) * static_cast<double>(atai) + 0.5) /
         static_cast<double>(f);
}

}  // namespace zelkar
