// The sprite pictures, drawn by our own code. Shapes are free; colours are
// not: the probes decode what they read from the low six bits of the blue
// byte, so every colour below is chosen for the code it carries.
#pragma once

#include <cstdint>

#include "ui/picture.h"

namespace zelkar {

inline constexpr int16_t kSourceSize = 31;   // px, obstacle/wall/blast sources
inline constexpr int16_t kBaseSize = 37;     // px
inline constexpr int16_t kShellSize = 4;     // px
inline constexpr int16_t kVehicleSize = 21;  // px

// Shell colours name the shell exactly: base + slot.
inline constexpr int32_t kShellColourBase0 = 0xFFFFF8;
inline constexpr int32_t kShellColourBase1 = 0xFFFFE8;

// Colour code 45 names nothing in a match (at most 34 walls, codes 11..44),
// so vehicles and the unstamped sources read as "no object" wherever a probe
// decodes them.
inline constexpr int32_t kNoObjectCode = 45;

// The blue byte of a colour whose top two blue bits are `top` (0..3) and
// whose low six bits carry `code`.
constexpr int32_t blueWithCode(int32_t top, int32_t code) { return (top << 6 | code) << 16; }

Picture makeRockPicture(int shape);   // mototiri(0..4), shape 0..4
Picture makeWallPicture();            // motokabe
Picture makeBlastPicture();           // motobaku
Picture makeBasePicture(int player);  // kiti(p): codes 62 + p, within 15 px of the centre
Picture makeShellPicture(int player, int slot);  // houdan(8p + s)

}  // namespace zelkar
