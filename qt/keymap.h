// Key events of the window system turned into the Windows virtual-key codes
// and shift state that the game's key handlers understand.
//
// The players' keys are chosen by where they sit on the keyboard, not by
// what is printed on them: each player's keys form a cross under one hand.
// X11 keycodes (evdev code + 8, also what Qt reports on Wayland) name
// physical positions, so translating them keeps the crosses intact on every
// layout (AZERTY, QWERTZ, Dvorak, JIS, ...). Only where the platform gives
// no keycode do we fall back to the key's meaning.
#pragma once

#include <QtCore/qnamespace.h>

#include <QtGlobal>

class QKeyEvent;

namespace zelkar {

// Virtual-key code of the key at the position of this X11 keycode, as the
// key at that place on a Japanese (JIS) keyboard is called; 0 when the
// game has no use for the key or the code is unknown.
int vkFromX11Keycode(quint32 keycode);

// Virtual-key code by the key's meaning, for platforms without keycodes.
// Keypad keys (Qt::KeypadModifier) map to the keypad digit codes 96..105
// whether NumLock turned them into digits or into cursor keys.
int vkFromQtKey(int key, Qt::KeyboardModifiers modifiers);

// The shift state of a key event: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(Qt::KeyboardModifiers modifiers);

// Whether the running platform plugin reports X11 keycodes as native scan
// codes (xcb and Wayland do; offscreen and others do not).
bool platformHasX11Keycodes();

// The virtual-key code of a key event: by position when `x11Keycodes` and
// the event carries a keycode, otherwise by meaning. Events synthesised
// without a keycode (tests, input methods) take the meaning path too.
int vkFromKeyEvent(const QKeyEvent& event, bool x11Keycodes);
int vkFromKeyEvent(const QKeyEvent& event);

// Whether a key release goes to the game. The window system sends a
// release before every repeated press while a key is held; the game wants
// to see the key held until it is really let go, so those are dropped.
bool forwardRelease(const QKeyEvent& event);

}  // namespace zelkar
