// The one font of every window: a Japanese Gothic face found through
// fontconfig, drawn without anti-aliasing so that text pixels keep the
// exact colour of their label.
#pragma once

#include <QFont>

namespace zelkar::qt {

// Sizes are in points at 96 dots per inch, the density the layout of the
// windows was drawn for, so 9 points are always 12 pixels whatever the
// screen reports. `scale` multiplies the pixel size for enlarged windows.
QFont gameFont(double points, bool bold = false, int scale = 1);

// The family chosen at the first call: "IPAGothic" when installed, else any
// family that can write Japanese, else the default family (with one warning
// on stderr, since Japanese captions will then show as boxes).
QString gameFontFamily();

}  // namespace zelkar::qt
