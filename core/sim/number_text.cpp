#include "sim/number_text.h"

#include <charconv>
#include <cmath>

namespace zelkar {

namespace {

// Range written out in full; outside it the full text would be long runs
// of zeros, so the exponent form is used instead.
constexpr double kSmallestPlain = 1e-4;
constexpr double kLargestPlain = 1e15;  // exclusive

template <typename T>
std::size_t write(char* first, char* last, T value) {
  // Negative zero (e.g. the y read-out negating a rounded 0) is plain zero.
  if (value == 0) {
    *first = '0';
    return 1;
  }
  const double mag = std::fabs(static_cast<double>(value));
  const bool plain = mag >= kSmallestPlain && mag < kLargestPlain;
  const auto res = plain ? std::to_chars(first, last, value, std::chars_format::fixed)
                         : std::to_chars(first, last, value, std::chars_format::scientific);
  // The buffer holds every double; a failure would be a programming error,
  // and an empty label is the safe way to show it.
  if (res.ec != std::errc{}) return 0;
  std::size_t n = static_cast<std::size_t>(res.ptr - first);
  if (!plain)
    for (std::size_t i = 0; i < n; ++i)
      if (first[i] == 'e') first[i] = 'E';
  return n;
}

// The read-outs show whole hundredths, tenths or units (sigonyuu's
// results) every tick; those texts are written straight from the integer.
// When value is the double nearest m / 10^d with |m| below 10^15, that
// decimal is the shortest text reading back as value: two different
// decimals of at most 15 significant digits lie further apart than the
// doubles near them, so no other one of them reads back as value. Returns
// 0 when value is not such a number.
std::size_t writeShortDecimal(char* first, double value) {
  constexpr double kScales[] = {1.0, 10.0, 100.0};
  constexpr double kLimit = 1e15;  // exclusive: 15 significant digits at most
  for (int d = 0; d < 3; ++d) {
    const double scaled = value * kScales[d];
    if (!(std::fabs(scaled) < kLimit)) return 0;  // also NaN
    // Any rounding will do: the division below checks the result.
    const auto m = static_cast<int64_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
    if (static_cast<double>(m) / kScales[d] != value) continue;
    char digits[24];
    int n = 0;
    for (uint64_t u = m < 0 ? uint64_t(-m) : uint64_t(m); u != 0 || n <= d; u /= 10)
      digits[n++] = char('0' + u % 10);  // least significant first
    int skip = 0;                        // trailing zeros of the fraction
    while (skip < d && digits[skip] == '0') ++skip;
    char* out = first;
    if (m < 0) *out++ = '-';
    for (int i = n - 1; i >= d; --i) *out++ = digits[i];
    if (skip < d) *out++ = '.';
    for (int i = d - 1; i >= skip; --i) *out++ = digits[i];
    return static_cast<std::size_t>(out - first);
  }
  return 0;
}

}  // namespace

NumberText numberText(double value) {
  NumberText t;
  std::size_t n = value == 0 ? 0 : writeShortDecimal(t.buf_.data(), value);
  if (n == 0) n = write(t.buf_.data(), t.buf_.data() + t.buf_.size(), value);
  t.len_ = static_cast<uint8_t>(n);
  return t;
}

NumberText settingText(float value) {
  NumberText t;
  t.len_ = static_cast<uint8_t>(write(t.buf_.data(), t.buf_.data() + t.buf_.size(), value));
  return t;
}

NumberText integerText(int32_t value) {
  NumberText t;
  const auto res = std::to_chars(t.buf_.data(), t.buf_.data() + t.buf_.size(), value);
  t.len_ = static_cast<uint8_t>(res.ptr - t.buf_.data());
  return t;
}

void setNumberText(Caption& caption, double value) { caption = numberText(value).view(); }
void setNumberText(Caption& caption, float value) { caption = settingText(value).view(); }
void setNumberText(Caption& caption, int32_t value) { caption = integerText(value).view(); }

}  // namespace zelkar
