// JSON text for the runner's output: numbers that read back to the very
// same float or double, strings that are always valid JSON, and arrays of
// either, nested as deep as the values are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace zelkar::sim {

// The shortest text that reads back to the same value. NaN and the
// infinities have no JSON number, so they are written as the strings
// "NaN", "Infinity" and "-Infinity".
void appendJsonNumber(std::string& out, float v);
void appendJsonNumber(std::string& out, double v);

// A quoted JSON string. Valid UTF-8 is kept as is; a byte that is not part
// of a valid UTF-8 sequence becomes U+FFFD, so the line stays valid JSON.
void appendJsonString(std::string& out, std::string_view s);

template <typename T>
void appendJson(std::string& out, const T& v) {
  if constexpr (std::is_same_v<T, bool>) {
    out += v ? "true" : "false";
  } else if constexpr (std::is_floating_point_v<T>) {
    appendJsonNumber(out, v);
  } else if constexpr (std::is_integral_v<T>) {
    out += std::to_string(v);
  } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
    appendJsonString(out, v);
  } else {  // any range: std::array (also of arrays), std::vector
    out += '[';
    bool first = true;
    for (const auto& e : v) {
      if (!first) out += ',';
      first = false;
      appendJson(out, e);
    }
    out += ']';
  }
}

}  // namespace zelkar::sim
