#include "arena/rounding.h"

#include <array>
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

int16_t detail::toInt16ClampedOutside(double value) {
  if (std::isnan(value)) return 0;
  if (auto v = toInt16(value)) return *v;
  return value < 0 ? std::numeric_limits<int16_t>::min() : std::numeric_limits<int16_t>::max();
}

int16_t floorToInt16Clamped(double value) {
  if (std::isnan(value)) return 0;
  return toInt16Clamped(std::floor(value));
}

namespace {

// 10^e. Powers up to 10^22 are exact doubles, and pow, whose error stays
// below one unit in the last place, returns exactly those; the table
// spares the read-outs a library call for every value they show.
double powerOfTen(int e) {
  constexpr std::array<double, 23> kExact = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (e >= 0 && e < int(kExact.size())) return kExact[std::size_t(e)];
  return std::pow(10.0, e);
}

}  // namespace

double sigonyuu(float atai, int16_t keta) {
  // keta - 1 overflows the 16-bit digit count only for -32768; rather than
  // stop the game, such a request leaves the value unrounded.
  if (keta == std::numeric_limits<int16_t>::min()) return atai;
  const float f = static_cast<float>(powerOfTen(keta - 1));
  return std::floor(static_cast<double>(f) * static_cast<double>(atai) + 0.5) /
         static_cast<double>(f);
}

}  // namespace zelkar
