// Reading the arena back: the colour codes that name what a probe touched,
// and the colours that count as free space.
#pragma once

#include <cstdint>

namespace zelkar {

inline constexpr int32_t kRgbMask = 0xFFFFFF;
inline constexpr int16_t kFirstWallCode = 11;   // walls 0..34 are codes 11..45
inline constexpr int16_t kFirstBlastCode = 46;  // shell blasts 8p + s are codes 46..61
inline constexpr int16_t kFirstBaseCode = 62;   // bases 0 and 1 are codes 62, 63

// The low six bits of the blue byte.
inline int16_t colourCode(int32_t c) { return static_cast<int16_t>((c & 0x3F0000) >> 16); }

// A shell colour without its slot (the low three bits): the owner's base.
inline int32_t shellColourBase(int32_t c) { return c & 0xFFFFF8; }

// Background, black and cyan text, the settings panels: nothing to touch.
inline bool isFreeForShell(int32_t c) {
  return c == 0x80FF80 || c == 0 || c == 0xFFFF00 || c == 0xFEFEFE;
}

// For vehicles and obstacles flying shells of both players are free too
// (FFFFE8..FFFFEF and FFFFF8..FFFFFF, the latter covering "no pixel").
inline bool isFreeForBody(int32_t c, int32_t shellBaseLeft) {
  return isFreeForShell(c) || (c & shellBaseLeft) == shellBaseLeft;
}

// The code a probe pair names. A free sample shows nothing, so a pair with
// one free sample names what the other shows; when both show something the
// sample at the current position counts. Or-ing the two colours instead
// would name objects that neither sample shows: several free colours have
// a blue byte of FE or FF, which turns any code into a base's.
inline int16_t pairCode(int32_t c1, int32_t c2, int32_t shellBaseLeft) {
  return colourCode(isFreeForBody(c1, shellBaseLeft) ? c2 : c1);
}

}  // namespace zelkar
