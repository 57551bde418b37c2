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

}  // namespace

NumberText numberText(double value) {
  NumberText t;
  t.len_ = static_cast<uint8_t>(write(t.buf_.data(), t.buf_.data() + t.buf_.size(), value));
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
