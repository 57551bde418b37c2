// The program's icon on every window, drawn in code after share/zelkar.svg
// (the desktop's copy): Qt reads SVG only with a plugin the game does not
// otherwise need, and these few shapes are quickly drawn.
#pragma once

#include <QIcon>
#include <QImage>

namespace zelkar::qt {

// The icon at `pixels` x `pixels`, transparent around its rounded square.
QImage drawGameIcon(int pixels);

// The usual sizes (16 to 64 px) in one icon.
QIcon gameIcon();

// Every window opened from now on carries the icon (the window system's
// _NET_WM_ICON on X11).
void useGameIcon();

}  // namespace zelkar::qt
