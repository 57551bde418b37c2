#include "qt/keymap.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <utility>
#include <vector>

namespace zelkar {
namespace {

using Expect = std::pair<quint32, int>;  // X11 keycode, virtual-key code

QKeyEvent keyEvent(QEvent::Type type, quint32 keycode, int qtKey,
                   Qt::KeyboardModifiers mods = Qt::NoModifier, bool autoRepeat = false) {
  return QKeyEvent(type, qtKey, mods, keycode, 0, 0, QString(), autoRepeat);
}

void expectKeycodes(const std::vector<Expect>& table) {
  for (const auto& [keycode, vk] : table)
    EXPECT_EQ(vkFromX11Keycode(keycode), vk) << "keycode " << keycode;
}

// X11 keycodes by position on a Japanese board, whatever the layout says.
TEST(Keymap, KeysByPosition) {
  // Left player: W A S D, fire X between Z and C, Q back to set-up.
  expectKeycodes({{25, 87}, {38, 65}, {39, 83}, {40, 68}, {53, 88}, {52, 90}, {54, 67}, {24, 81}});
  // Right player: P up, L left, ";" down, ":" right, "." and "/" fire, the
  // ro key right of "/", "@" right of P back to set-up, ","; the right
  // Shift stands in for the ro key, the left Shift stays a Shift.
  expectKeycodes({{33, 80}, {46, 76}, {47, 187}, {48, 186}, {60, 190}, {61, 191}, {97, 226}});
  expectKeycodes({{34, 192}, {59, 188}, {62, 226}, {50, 16}});
  // The digit row (1..9 then 0), apart from keypad 0..9 whatever NumLock says.
  expectKeycodes({{10, 49}, {11, 50}, {18, 57}, {19, 48}, {90, 96}, {87, 97}, {88, 98}, {89, 99}});
  expectKeycodes({{83, 100}, {84, 101}, {85, 102}, {79, 103}, {80, 104}, {81, 105}});
  // F1, F2, F10-F12; both Ctrl, both Alt, both Enter; Esc, space, arrows.
  expectKeycodes({{67, 112}, {68, 113}, {76, 121}, {95, 122}, {96, 123}, {37, 17}, {105, 17}});
  expectKeycodes({{64, 18}, {108, 18}, {36, 13}, {104, 13}, {9, 27}, {65, 32}, {111, 38}});
  expectKeycodes({{113, 37}, {114, 39}, {116, 40}});
  // Unknown keycodes map to nothing; 94, the ISO key left of Z, is under
  // the left player's hand and must not become the right player's ro key.
  expectKeycodes({{0, 0}, {7, 0}, {94, 0}, {255, 0}, {256, 0}, {0xFFFFFFFFu, 0}});
}

TEST(Keymap, KeypadStaysDistinctFromDigitRow) {
  // Keypad 8 with NumLock on gives the digit, with NumLock off the cursor
  // key; both are keypad 8 by keycode and by meaning.
  const auto numLockOn = keyEvent(QEvent::KeyPress, 80, Qt::Key_8, Qt::KeypadModifier);
  const auto numLockOff = keyEvent(QEvent::KeyPress, 80, Qt::Key_Up, Qt::KeypadModifier);
  for (bool x11 : {true, false}) {
    EXPECT_EQ(vkFromKeyEvent(numLockOn, x11), 104);
    EXPECT_EQ(vkFromKeyEvent(numLockOff, x11), 104);
  }
  // Keypad 5 without NumLock has no cursor meaning; the toolkit calls it Clear.
  EXPECT_EQ(vkFromQtKey(Qt::Key_Clear, Qt::KeypadModifier), 101);
  EXPECT_EQ(vkFromQtKey(Qt::Key_8, Qt::NoModifier), 56);
  EXPECT_EQ(vkFromQtKey(Qt::Key_Up, Qt::NoModifier), 38);
}

TEST(Keymap, PositionWinsOverLayout) {
  // On AZERTY the key at the Q position types A and the one at A types Q:
  // the left player's keys must stay where they are.
  EXPECT_EQ(vkFromKeyEvent(keyEvent(QEvent::KeyPress, 24, Qt::Key_A), true), 81);
  EXPECT_EQ(vkFromKeyEvent(keyEvent(QEvent::KeyPress, 38, Qt::Key_Q), true), 65);
  // On a US board the key right of P types "[": it is still the "@" key.
  EXPECT_EQ(vkFromKeyEvent(keyEvent(QEvent::KeyPress, 34, Qt::Key_BracketLeft), true), 192);
  // Without keycodes (or an event made without one) the meaning decides.
  EXPECT_EQ(vkFromKeyEvent(keyEvent(QEvent::KeyPress, 24, Qt::Key_A), false), 65);
  EXPECT_EQ(vkFromKeyEvent(keyEvent(QEvent::KeyPress, 0, Qt::Key_A), true), 65);
}

TEST(Keymap, FallbackByMeaningUsesTheJapaneseLayout) {
  // Each key plain, then as it reads with Shift held on a Japanese board.
  const std::vector<std::pair<int, int>> table{
      {Qt::Key_At, 192},        {Qt::Key_QuoteLeft, 192},  {Qt::Key_Semicolon, 187},
      {Qt::Key_Plus, 187},      {Qt::Key_Colon, 186},      {Qt::Key_Asterisk, 186},
      {Qt::Key_Backslash, 226}, {Qt::Key_Underscore, 226}, {Qt::Key_Slash, 191},
      {Qt::Key_Question, 191},  {Qt::Key_Period, 190},     {Qt::Key_Greater, 190},
      {Qt::Key_Comma, 188},     {Qt::Key_P, 80},           {Qt::Key_L, 76}};
  for (const auto& [key, vk] : table)
    EXPECT_EQ(vkFromQtKey(key, Qt::NoModifier), vk) << "Qt key " << key;
  // The keypad's own operators are not the main block's punctuation.
  EXPECT_EQ(vkFromQtKey(Qt::Key_Plus, Qt::KeypadModifier), 107);
  EXPECT_EQ(vkFromQtKey(Qt::Key_Asterisk, Qt::KeypadModifier), 106);
  EXPECT_EQ(vkFromQtKey(Qt::Key_Meta, Qt::NoModifier), 0);
  EXPECT_EQ(vkFromQtKey(Qt::Key_F1, Qt::ControlModifier), 112);
  EXPECT_EQ(vkFromQtKey(Qt::Key_F2, Qt::ControlModifier), 113);
}

// Shift 1, Ctrl 2, Alt 4; neither the keypad flag nor the Super key may
// spoil "Ctrl alone" (2). Repeated releases are dropped, repeated presses
// are what make a held fire key fire again.
TEST(Keymap, ShiftStateBitsAndAutoRepeat) {
  using M = Qt::KeyboardModifier;
  const std::pair<Qt::KeyboardModifiers, int> table[] = {
      {M::NoModifier, 0},
      {M::ShiftModifier, 1},
      {M::ControlModifier, 2},
      {M::AltModifier, 4},
      {M::ControlModifier | M::ShiftModifier, 3},
      {M::ShiftModifier | M::ControlModifier | M::AltModifier, 7},
      {M::ControlModifier | M::KeypadModifier | M::MetaModifier, 2}};
  for (const auto& [mods, bits] : table) EXPECT_EQ(shiftState(mods), bits) << int(mods);
  EXPECT_FALSE(forwardRelease(keyEvent(QEvent::KeyRelease, 53, Qt::Key_X, {}, true)));
  EXPECT_TRUE(forwardRelease(keyEvent(QEvent::KeyRelease, 53, Qt::Key_X, {}, false)));
  EXPECT_TRUE(forwardRelease(keyEvent(QEvent::KeyPress, 53, Qt::Key_X, {}, true)));
}

}  // namespace
}  // namespace zelkar
