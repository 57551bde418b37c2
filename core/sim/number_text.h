// Numbers as the instruments and the set-up panel show them: the shortest
// decimal text that reads back as the same value, no leading blank, no
// trailing zeros, "-" for negatives, "0" for zero. The text lives in a
// fixed buffer, so the tick can rebuild its read-outs every step without
// touching the heap.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "ui/screen_model.h"

namespace zelkar {

class NumberText {
 public:
  // Longest text: "-" + 17 digits + "." + "E-308" and then some.
  static constexpr std::size_t kCapacity = 32;

  std::string_view view() const { return {buf_.data(), len_}; }
  operator std::string_view() const { return view(); }  // NOLINT: reads like a string

 private:
  friend NumberText numberText(double value);
  friend NumberText settingText(float value);
  friend NumberText integerText(int32_t value);
  std::array<char, kCapacity> buf_{};
  uint8_t len_ = 0;
};

// A double-precision value, e.g. a rounded read-out: 0.34, -12.3, 1840000.
// Magnitudes from 1E-04 up to below 1E+15 are written out in full; smaller
// and larger ones in exponent form ("1.5E+20", "1E-05") so the text stays
// short enough to read in a label.
NumberText numberText(double value);

// A single-precision setting as the set-up panel shows it: "10", "500".
// Same rules, with the shortest text that reads back as the same float.
NumberText settingText(float value);

// An integer count, e.g. shells left.
NumberText integerText(int32_t value);

// The same texts written straight into a label's caption: a double as a
// read-out, a float as a setting, an integer as a count.
void setNumberText(Caption& caption, double value);
void setNumberText(Caption& caption, float value);
void setNumberText(Caption& caption, int32_t value);

}  // namespace zelkar
