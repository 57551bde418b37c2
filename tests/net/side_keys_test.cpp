// Each player has a whole keyboard: the keys of either player on a machine
// drive that machine's side, as the shared game names that side's keys.
#include "net/side_keys.h"

#include <gtest/gtest.h>

#include "session_pair.h"

namespace zelkar::net {
namespace {

// Controls: left, right, up, down, fire, turn -, turn +, back.
constexpr KeyTable kLetters = {76, 186, 80, 187, 191, 190, 226, 192};  // L ; P : / . \ @
constexpr KeyTable kKeypad = {100, 102, 104, 101, 98, 97, 99, 105};    // 4 6 8 5 2 1 3 9
constexpr KeyTable kLeft = {65, 68, 87, 83, 88, 90, 67, 81};           // A D W S X Z C Q

TEST(SideKeys, TheRightPlayersKeysFollowTheKeyboardKind) {
  EXPECT_EQ(rightPlayerKeys(0), kLetters);
  EXPECT_EQ(rightPlayerKeys(1), kKeypad);
  EXPECT_EQ(rightPlayerKeys(2), KeyTable{});  // any other kind: no keys
}

// Control c of either player on this machine is control c, and in the
// shared game each side has only its own key of it.
TEST(SideKeys, EitherPlayersKeyIsTheSameControlAndEachSideHasItsOwn) {
  auto s = std::make_unique<GameState>();
  s->rightKeys = kKeypad;
  for (std::size_t c = 0; c < 8; ++c) {
    EXPECT_EQ(controlOfKey(kLeft[c], kKeypad), int(c));
    EXPECT_EQ(controlOfKey(kKeypad[c], kKeypad), int(c));
    EXPECT_EQ(controlOfKey(kLetters[c], kLetters), int(c));
    EXPECT_EQ(controlOfKey(kLetters[c], kKeypad), -1);  // not this machine's kind
    EXPECT_EQ(keyOfSide(*s, true, int(c)), kLeft[c]);
    EXPECT_EQ(keyOfSide(*s, false, int(c)), kKeypad[c]);
    for (const bool left : {true, false}) {
      EXPECT_EQ(isKeyOfSide(*s, left, kLeft[c]), left);
      EXPECT_EQ(isKeyOfSide(*s, left, kKeypad[c]), !left);
    }
  }
  EXPECT_EQ(controlOfKey(13, kKeypad), -1);  // Enter
  EXPECT_EQ(controlOfKey(0, KeyTable{}), -1);
  EXPECT_EQ(keyOfSide(*s, true, 8), 0);
  s->rightKeys = {};
  EXPECT_FALSE(isKeyOfSide(*s, false, 0));  // a side without keys presses nothing
}

// The joiner (right side) changes its keyboard kind from letters to the
// keypad: its keypad now drives its side, and its letters no longer do.
TEST(SideKeys, AJoinersOwnKeyboardKindChangesOnlyWhereItsKeysAre) {
  SimLinkConfig link;
  testing::SessionPair p(link);  // the joiner's own kind: letters
  ASSERT_TRUE(p.connect());
  p.joiner.localKeyDown(76, 0);  // L: left
  p.joiner.setLocalKeyboard(1);
  p.joiner.localKeyDown(186, 0);  // ; no longer a key here
  p.joiner.localKeyDown(102, 0);  // keypad 6: right
  p.joiner.localKeyDown(68, 0);   // D: the left player's "right", also this side's
  for (int i = 0; i < 100; ++i) p.advance();
  const std::string record = sim::replayText(p.host.confirmedCommands());
  EXPECT_NE(record.find("down 100\ndown 102\ndown 102\n"), std::string::npos) << record;
  EXPECT_EQ(record.find("down 68"), std::string::npos);
  EXPECT_EQ(record.find("down 186"), std::string::npos);
}

}  // namespace
}  // namespace zelkar::net
