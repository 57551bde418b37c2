#include "headless/printable.h"

#include <gtest/gtest.h>

namespace zelkar::sim {
namespace {

TEST(Printable, ControlCharactersAndNulAreEscapedTextStays) {
  EXPECT_EQ(printable("tick 5"), "tick 5");
  EXPECT_EQ(printable("再び対戦するか（Ｙ/Ｎ）？"), "再び対戦するか（Ｙ/Ｎ）？");
  EXPECT_EQ(printable(std::string_view("a\0b", 3)), "a\\x00b");
  EXPECT_EQ(printable("\x1B[2J"), "\\x1B[2J");  // would clear the screen
  EXPECT_EQ(printable("a\nb\rc\td"), "a\\x0Ab\\x0Dc\\x09d");
  EXPECT_EQ(printable("\x7F"), "\\x7F");
  EXPECT_EQ(printable("C:\\x41"), "C:\\\\x41");  // a backslash cannot forge an escape
}

TEST(Printable, C1ControlsAndBytesThatAreNotUtf8AreEscaped) {
  EXPECT_EQ(printable("\xC2\x9B"
                      "31m"),
            "\\u009B31m");  // CSI as one character
  EXPECT_EQ(printable("\xC2\x80"), "\\u0080");
  EXPECT_EQ(printable("\xC2\xA0"), "\xC2\xA0");  // U+00A0 is printable
  EXPECT_EQ(printable("\xFF\xFE"), "\\xFF\\xFE");
  EXPECT_EQ(printable("\xE3\x81"), "\\xE3\\x81");                // cut in the middle of a character
  EXPECT_EQ(printable("\xC0\xAF"), "\\xC0\\xAF");                // an overlong "/"
  EXPECT_EQ(printable("\xED\xA0\x80"), "\\xED\\xA0\\x80");       // a surrogate
  EXPECT_EQ(printable("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");  // four bytes, printable
}

}  // namespace
}  // namespace zelkar::sim
