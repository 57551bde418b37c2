#include "qt/keymap.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>
#include <cstdint>
#include <utility>

namespace zelkar {
namespace {

// Windows virtual-key codes the game and its replay files speak.
constexpr int kVkBack = 8;
constexpr int kVkTab = 9;
constexpr int kVkReturn = 13;
constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kVkAlt = 18;
constexpr int kVkEscape = 27;
constexpr int kVkSpace = 32;
constexpr int kVkPageUp = 33;
constexpr int kVkPageDown = 34;
constexpr int kVkEnd = 35;
constexpr int kVkHome = 36;
constexpr int kVkLeft = 37;
constexpr int kVkUp = 38;
constexpr int kVkRight = 39;
constexpr int kVkDown = 40;
constexpr int kVkInsert = 45;
constexpr int kVkDelete = 46;
constexpr int kVk0 = 48;        // the digit row: '0' .. '9' are 48 .. 57
constexpr int kVkA = 65;        // letters: 'A' .. 'Z' are 65 .. 90
constexpr int kVkNumpad0 = 96;  // keypad digits: 96 .. 105
constexpr int kVkMultiply = 106;
constexpr int kVkAdd = 107;
constexpr int kVkSubtract = 109;
constexpr int kVkDecimal = 110;
constexpr int kVkDivide = 111;
constexpr int kVkF1 = 112;  // F1 .. F12 are 112 .. 123
// The punctuation keys, named as a Japanese keyboard labels them.
constexpr int kVkColon = 186;      // ":" right of ";"
constexpr int kVkSemicolon = 187;  // ";" right of L
constexpr int kVkComma = 188;
constexpr int kVkMinus = 189;
constexpr int kVkPeriod = 190;
constexpr int kVkSlash = 191;
constexpr int kVkAt = 192;            // "@" right of P
constexpr int kVkBracketLeft = 219;   // "[" right of "@"
constexpr int kVkYen = 220;           // the yen key left of Backspace
constexpr int kVkBracketRight = 221;  // "]" right of ":"
constexpr int kVkCaret = 222;         // "^" right of "-"
constexpr int kVkRo = 226;            // "\" (ro) right of "/"

// X11 keycodes of the keys we name (evdev code + 8).
constexpr quint32 kX11Digit1 = 10;  // '1' .. '9' are 10 .. 18, '0' is 19
constexpr quint32 kX11ShiftRight = 62;
constexpr quint32 kX11F1 = 67;  // F1 .. F10 are 67 .. 76
constexpr quint32 kX11Ro = 97;

using Pair = std::pair<quint32, int>;  // X11 keycode, virtual-key code

// Letters by position, named as on a QWERTY board; the keycodes run along
// each row from left to right.
constexpr Pair kLetters[] = {
    {24, 'Q'}, {25, 'W'}, {26, 'E'}, {27, 'R'}, {28, 'T'}, {29, 'Y'}, {30, 'U'},
    {31, 'I'}, {32, 'O'}, {33, 'P'}, {38, 'A'}, {39, 'S'}, {40, 'D'}, {41, 'F'},
    {42, 'G'}, {43, 'H'}, {44, 'J'}, {45, 'K'}, {46, 'L'}, {52, 'Z'}, {53, 'X'},
    {54, 'C'}, {55, 'V'}, {56, 'B'}, {57, 'N'}, {58, 'M'},
};

constexpr Pair kOthers[] = {
    {9, kVkEscape},
    {20, kVkMinus},
    {21, kVkCaret},
    {22, kVkBack},
    {23, kVkTab},
    {34, kVkAt},
    {35, kVkBracketLeft},
    {36, kVkReturn},
    {37, kVkControl},
    {47, kVkSemicolon},
    {48, kVkColon},
    {50, kVkShift},
    {51, kVkBracketRight},
    {59, kVkComma},
    {60, kVkPeriod},
    {61, kVkSlash},
    // Keyboards outside Japan have no ro key, so the right player would
    // lack control 6 (turn the gun clockwise). The right Shift key sits in
    // the ro key's place, just right of "/", so it stands in for it on
    // every keyboard. It still sets the Shift bit of the shift state, which
    // the player keys ignore.
    {kX11ShiftRight, kVkRo},
    {kX11Ro, kVkRo},
    {63, kVkMultiply},
    {64, kVkAlt},
    {65, kVkSpace},
    // The keypad by keycode: the same codes whatever NumLock says, so the
    // right player's keypad cross never turns into cursor keys.
    {79, kVkNumpad0 + 7},
    {80, kVkNumpad0 + 8},
    {81, kVkNumpad0 + 9},
    {82, kVkSubtract},
    {83, kVkNumpad0 + 4},
    {84, kVkNumpad0 + 5},
    {85, kVkNumpad0 + 6},
    {86, kVkAdd},
    {87, kVkNumpad0 + 1},
    {88, kVkNumpad0 + 2},
    {89, kVkNumpad0 + 3},
    {90, kVkNumpad0 + 0},
    {91, kVkDecimal},
    // 94, the extra key left of Z on ISO boards, is left unmapped on
    // purpose: it lies under the left player's hand and must not act as a
    // key of the right player.
    {95, kVkF1 + 10},
    {96, kVkF1 + 11},
    {104, kVkReturn},  // keypad Enter
    {105, kVkControl},
    {106, kVkDivide},
    {108, kVkAlt},
    {110, kVkHome},
    {111, kVkUp},
    {112, kVkPageUp},
    {113, kVkLeft},
    {114, kVkRight},
    {115, kVkEnd},
    {116, kVkDown},
    {117, kVkPageDown},
    {118, kVkInsert},
    {119, kVkDelete},
    {132, kVkYen},
};

// X11 keycodes run from 8 to 255.
constexpr std::size_t kKeycodeCount = 256;

constexpr std::array<uint8_t, kKeycodeCount> makeTable() {
  std::array<uint8_t, kKeycodeCount> t{};
  for (const auto& [code, vk] : kLetters) t[code] = static_cast<uint8_t>(vk);
  for (const auto& [code, vk] : kOthers) t[code] = static_cast<uint8_t>(vk);
  for (int d = 1; d <= 9; ++d) t[kX11Digit1 + d - 1] = static_cast<uint8_t>(kVk0 + d);
  t[kX11Digit1 + 9] = kVk0;
  for (int f = 0; f < 10; ++f) t[kX11F1 + f] = static_cast<uint8_t>(kVkF1 + f);
  return t;
}

constexpr std::array<uint8_t, kKeycodeCount> kByKeycode = makeTable();

// Keypad keys by meaning. Without NumLock the keypad sends cursor keys;
// they still carry the keypad modifier, which is how we tell them apart.
int keypadVk(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return kVkNumpad0 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Insert:
      return kVkNumpad0 + 0;
    case Qt::Key_End:
      return kVkNumpad0 + 1;
    case Qt::Key_Down:
      return kVkNumpad0 + 2;
    case Qt::Key_PageDown:
      return kVkNumpad0 + 3;
    case Qt::Key_Left:
      return kVkNumpad0 + 4;
    case Qt::Key_Clear:
      return kVkNumpad0 + 5;  // keypad 5 without NumLock
    case Qt::Key_Right:
      return kVkNumpad0 + 6;
    case Qt::Key_Home:
      return kVkNumpad0 + 7;
    case Qt::Key_Up:
      return kVkNumpad0 + 8;
    case Qt::Key_PageUp:
      return kVkNumpad0 + 9;
    case Qt::Key_Asterisk:
      return kVkMultiply;
    case Qt::Key_Plus:
      return kVkAdd;
    case Qt::Key_Minus:
      return kVkSubtract;
    case Qt::Key_Period:
    case Qt::Key_Comma:
    case Qt::Key_Delete:
      return kVkDecimal;
    case Qt::Key_Slash:
      return kVkDivide;
    case Qt::Key_Enter:
    case Qt::Key_Return:
      return kVkReturn;
    default:
      return 0;
  }
}

}  // namespace

int vkFromX11Keycode(quint32 keycode) { return keycode < kKeycodeCount ? kByKeycode[keycode] : 0; }

int vkFromQtKey(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) return keypadVk(key);
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return kVkA + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return kVk0 + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return kVkF1 + (key - Qt::Key_F1);
  // Punctuation by the Japanese layout; the character a key gives with
  // Shift held maps to the same key, so holding Shift loses no key.
  switch (key) {
    case Qt::Key_Escape:
      return kVkEscape;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kVkReturn;
    case Qt::Key_Space:
      return kVkSpace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return kVkTab;
    case Qt::Key_Backspace:
      return kVkBack;
    case Qt::Key_Shift:
      return kVkShift;
    case Qt::Key_Control:
      return kVkControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
      return kVkAlt;
    case Qt::Key_Left:
      return kVkLeft;
    case Qt::Key_Up:
      return kVkUp;
    case Qt::Key_Right:
      return kVkRight;
    case Qt::Key_Down:
      return kVkDown;
    case Qt::Key_Home:
      return kVkHome;
    case Qt::Key_End:
      return kVkEnd;
    case Qt::Key_PageUp:
      return kVkPageUp;
    case Qt::Key_PageDown:
      return kVkPageDown;
    case Qt::Key_Insert:
      return kVkInsert;
    case Qt::Key_Delete:
      return kVkDelete;
    case Qt::Key_At:
    case Qt::Key_QuoteLeft:
      return kVkAt;
    case Qt::Key_Semicolon:
    case Qt::Key_Plus:
      return kVkSemicolon;
    case Qt::Key_Colon:
    case Qt::Key_Asterisk:
      return kVkColon;
    case Qt::Key_Backslash:
    case Qt::Key_Underscore:
      return kVkRo;
    case Qt::Key_Slash:
    case Qt::Key_Question:
      return kVkSlash;
    case Qt::Key_Period:
    case Qt::Key_Greater:
      return kVkPeriod;
    case Qt::Key_Comma:
    case Qt::Key_Less:
      return kVkComma;
    case Qt::Key_Minus:
    case Qt::Key_Equal:
      return kVkMinus;
    case Qt::Key_AsciiCircum:
    case Qt::Key_AsciiTilde:
      return kVkCaret;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
      return kVkBracketLeft;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
      return kVkBracketRight;
    case Qt::Key_yen:
    case Qt::Key_Bar:
      return kVkYen;
    default:
      return 0;
  }
}

int shiftState(Qt::KeyboardModifiers modifiers) {
  constexpr int kShiftBit = 1, kCtrlBit = 2, kAltBit = 4;
  int s = 0;
  if (modifiers & Qt::ShiftModifier) s |= kShiftBit;
  if (modifiers & Qt::ControlModifier) s |= kCtrlBit;
  if (modifiers & Qt::AltModifier) s |= kAltBit;
  return s;
}

bool platformHasX11Keycodes() {
  const QString name = QGuiApplication::platformName();
  return name == QLatin1String("xcb") || name.startsWith(QLatin1String("wayland"));
}

int vkFromKeyEvent(const QKeyEvent& event, bool x11Keycodes) {
  if (x11Keycodes && event.nativeScanCode() != 0) return vkFromX11Keycode(event.nativeScanCode());
  return vkFromQtKey(event.key(), event.modifiers());
}

int vkFromKeyEvent(const QKeyEvent& event) {
  return vkFromKeyEvent(event, platformHasX11Keycodes());
}

bool forwardRelease(const QKeyEvent& event) {
  return !(event.type() == QEvent::KeyRelease && event.isAutoRepeat());
}

}  // namespace zelkar
