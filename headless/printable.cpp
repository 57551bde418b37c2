#include "headless/printable.h"

#include <cstdint>
#include <cstdio>

namespace zelkar::sim {

namespace {

std::string hexByte(unsigned char c) {
  char out[8];
  std::snprintf(out, sizeof out, "\\x%02X", c);
  return out;
}

// The length of the UTF-8 sequence at the start of `s` and its code point,
// or 0 when the bytes are not one.
std::size_t utf8Sequence(std::string_view s, uint32_t& codePoint) {
  const auto b0 = static_cast<unsigned char>(s[0]);
  std::size_t length = 0;
  uint32_t min = 0;  // overlong forms are refused
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2, codePoint = b0 & 0x1Fu, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3, codePoint = b0 & 0x0Fu, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4, codePoint = b0 & 0x07u, min = 0x10000;
  } else {
    return 0;
  }
  if (s.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0u) != 0x80u) return 0;
    codePoint = (codePoint << 6) | (b & 0x3Fu);
  }
  if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
    return 0;
  return length;
}

}  // namespace

std::string printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const auto c = static_cast<unsigned char>(text[0]);
    if (c == '\\') {
      out += "\\\\";
      text.remove_prefix(1);
    } else if (c < 0x20 || c == 0x7F) {
      out += hexByte(c);
      text.remove_prefix(1);
    } else if (c < 0x80) {
      out += char(c);
      text.remove_prefix(1);
    } else if (uint32_t cp = 0; const std::size_t n = utf8Sequence(text, cp)) {
      // C1 controls (U+0080 to U+009F) act on some terminals as escapes do.
      if (cp <= 0x9F) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(cp));
        out += escaped;
      } else {
        out.append(text.substr(0, n));
      }
      text.remove_prefix(n);
    } else {
      out += hexByte(c);
      text.remove_prefix(1);
    }
  }
  return out;
}

}  // namespace zelkar::sim
