#include "pad/key_holders.h"

#include <gtest/gtest.h>

namespace zelkar::pad {
namespace {

TEST(KeyHolders, AKeyIsReleasedWhenTheLastHolderLetsGoInEitherOrder) {
  for (Source first : {Source::keyboard, Source::pad1}) {
    const Source second = first == Source::keyboard ? Source::pad1 : Source::keyboard;
    KeyHolders h;
    h.press(Source::keyboard, 68);
    h.press(Source::pad1, 68);
    EXPECT_FALSE(h.release(first, 68));
    EXPECT_TRUE(h.held(68));
    EXPECT_TRUE(h.heldBy(second, 68));
    EXPECT_FALSE(h.heldBy(first, 68));
    EXPECT_TRUE(h.release(second, 68));
    EXPECT_FALSE(h.held(68));
  }
}

TEST(KeyHolders, KeysAndSourcesAreKeptApart) {
  KeyHolders h;
  h.press(Source::pad1, 65);
  h.press(Source::pad2, 100);
  EXPECT_TRUE(h.release(Source::pad2, 100));
  // The second pad never held A: its release must not free the first pad's.
  EXPECT_FALSE(h.release(Source::pad2, 65));
  EXPECT_TRUE(h.release(Source::pad1, 65));
}

TEST(KeyHolders, AReleaseOfAKeyNobodyHeldGoesThrough) {
  // A key pressed before the window had the keys, or a code outside the
  // table, is released as it would be without pads.
  KeyHolders h;
  EXPECT_TRUE(h.release(Source::keyboard, 76));
  EXPECT_TRUE(h.release(Source::keyboard, 300));
  EXPECT_TRUE(h.release(Source::keyboard, -1));
  h.press(Source::keyboard, 300);
  EXPECT_FALSE(h.held(300));
}

}  // namespace
}  // namespace zelkar::pad
