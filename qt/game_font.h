// The fonts of every window: a Japanese Gothic face for the game's own
// texts, and a narrow Latin face when the windows speak English, both drawn
// without anti-aliasing so that text pixels keep the exact colour of their
// label.
#pragma once

#include <QFont>

namespace zelkar::qt {

// Sizes are in points at 96 dots per inch, the density the layout of the
// windows was drawn for, so 9 points are always 12 pixels whatever the
// screen reports. `scale` multiplies the pixel size for enlarged windows.
// The face follows the language in use (qt/language.h).
QFont gameFont(double points, bool bold = false, int scale = 1);
// The Japanese face in any language, for figures drawn into boxes that
// were measured for its glyphs (the score window's points).
QFont layoutFont(double points, bool bold = false, int scale = 1);

// The family of the language in use, chosen at its first use. Japanese:
// "IPAGothic" when installed, else any family that can write Japanese, else
// the default family (with one warning on stderr, since Japanese captions
// will then show as boxes). English: "DejaVu Sans Condensed", whose narrow
// letters fit the boxes the layout measured for Japanese, else "DejaVu
// Sans", else the default family.
QString gameFontFamily();

}  // namespace zelkar::qt
