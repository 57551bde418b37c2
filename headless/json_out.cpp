#include "headless/json_out.h"

#include <charconv>
#include <cmath>

namespace zelkar::sim {

namespace {

template <typename F>
void appendNumber(std::string& out, F v) {
  if (std::isnan(v)) {
    out += "\"NaN\"";
  } else if (std::isinf(v)) {
    out += v > 0 ? "\"Infinity\"" : "\"-Infinity\"";
  } else {
    // Without a format, to_chars gives the shortest round-trip form; it
    // is always a valid JSON number ("-0", "1e-05", "3.4028235e+38").
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, ec == std::errc{} ? end : buf);
  }
}

// Length of the valid UTF-8 sequence at the start of s, 0 when invalid:
// no overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t utf8Length(std::string_view s) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char c = b(0);
  if (c < 0x80) return 1;
  std::size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF)
    n = 2;
  else if (c >= 0xE0 && c <= 0xEF)
    n = 3, lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
  else if (c >= 0xF0 && c <= 0xF4)
    n = 4, lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
  else
    return 0;
  if (s.size() < n || b(1) < lo || b(1) > hi) return 0;
  for (std::size_t i = 2; i < n; ++i)
    if ((b(i) & 0xC0) != 0x80) return 0;
  return n;
}

}  // namespace

void appendJsonNumber(std::string& out, float v) { appendNumber(out, v); }
void appendJsonNumber(std::string& out, double v) { appendNumber(out, v); }

void appendJsonString(std::string& out, std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  while (!s.empty()) {
    const char c = s.front();
    const std::size_t n = utf8Length(s);
    if (n == 0) {
      out += "\\ufffd";
      s.remove_prefix(1);
      continue;
    }
    if (n > 1) {
      out.append(s.substr(0, n));
    } else if (c == '"' || c == '\\') {
      out += '\\', out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      out += "\\u00", out += kHex[c >> 4], out += kHex[c & 15];
    } else {
      out += c;
    }
    s.remove_prefix(n);
  }
  out += '"';
}

}  // namespace zelkar::sim
