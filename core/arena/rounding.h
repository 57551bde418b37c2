// Number conversions shared by every rule: the 16-bit integer conversion
// (round half to even, out of range is an error) and sigonyuu, the game's
// half-up rounding to a number of digits.
#pragma once

#include <cstdint>
#include <optional>

namespace zelkar {

// Rounds to nearest, halves to even; nullopt when the result does not fit
// in -32768..32767 or the value is not a number. Every conversion to a
// 16-bit integer goes through here; callers decide what an overflow means.
std::optional<int16_t> toInt16(double value);

namespace detail {
int16_t toInt16ClampedOutside(double value);  // toInt16Clamped beyond the 16-bit range
}  // namespace detail

// The same conversion for places where the game must go on: out-of-range
// values stick to the nearest bound, NaN becomes 0. Every probe read
// converts its point with it, so the values in range take no library call:
// after adding 2^52 no bits below the units are left, so the addition
// itself rounds to the nearest integer, halves to even, as the default
// floating-point environment does (the game never changes it), and taking
// 2^52 away again is exact.
inline int16_t toInt16Clamped(double value) {
  constexpr double kNoFraction = 4503599627370496.0;  // 2^52
  if (value >= 0.0 && value < 32767.5)
    return static_cast<int16_t>((value + kNoFraction) - kNoFraction);
  if (value < 0.0 && value >= -32768.5)
    return static_cast<int16_t>((value - kNoFraction) + kNoFraction);
  return detail::toInt16ClampedOutside(value);
}

// The probes' points: toInt16Clamped(offset + place) for many whole-pixel
// offsets from one place. When the place is no half, the sum's nearest
// integer is the offset plus the place's own, so the place is rounded once
// for the whole ring; a half (where rounding to even depends on the
// offset), a place out of the 16-bit range or NaN is rounded with each
// offset. Beyond the 16-bit range the point is not clamped: it lies
// outside the arena either way, which is all a probe asks of it.
class OffsetRounding {
 public:
  explicit OffsetRounding(float place)
      : place_(place), rounded_(toInt16Clamped(place_)), once_(isNearest(place_ - rounded_)) {}
  int at(int16_t offset) const {
    return once_ ? offset + rounded_ : toInt16Clamped(offset + place_);
  }

 private:
  // Within half a pixel, halves excluded (and NaN fails both comparisons).
  static bool isNearest(double error) { return error > -0.5 && error < 0.5; }
  double place_;
  int rounded_;
  bool once_;
};

// Floor for values that feed 16-bit members (Int(x) of the rules), clamped
// like toInt16Clamped.
int16_t floorToInt16Clamped(double value);

// sigonyuu(atai, keta): Int(f * atai + 0.5) / f with f = 10^(keta-1) held
// in single precision, so keta - 1 digits after the point, halves up.
double sigonyuu(float atai, int16_t keta);

}  // namespace zelkar
