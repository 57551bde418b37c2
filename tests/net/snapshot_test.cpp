// Saving a game for rollback leaves the pictures out; restoring brings
// back everything else exactly and keeps the live game's pictures where
// they are.
#include "net/snapshot.h"

#include <gtest/gtest.h>

#include "app/handlers.h"
#include "app/state_hash.h"
#include "net/play.h"

namespace zelkar::net {
namespace {

TEST(Snapshot, RestoringBringsBackTheWholeGameAndKeepsThePictures) {
  auto live = std::make_unique<Game>();
  QuietWindow ws(*live);
  openWindow(*live, ws, 4321);
  play(*live, ws, sim::StartCommand{true, "6", true});
  formKeyDown(*live, ws, 88, 0);  // X: the left player confirms its set-up
  for (int i = 0; i < 50; ++i) play(*live, ws, sim::TickCommand{1});
  const auto whole = std::make_unique<Game>(*live);
  const Picture* firstPicture = live->screen.pictures.data();

  auto saved = std::make_unique<Game>();
  saveGame(*live, *saved);
  EXPECT_TRUE(saved->screen.pictures.empty());
  EXPECT_EQ(live->screen.pictures.data(), firstPicture);  // lent, not moved
  EXPECT_TRUE(samePictures(*live, *whole));

  formKeyDown(*live, ws, 100, 0);  // keypad 4: the right player moves
  for (int i = 0; i < 30; ++i) play(*live, ws, sim::TickCommand{1});
  ASSERT_NE(stateHash(*live), stateHash(*whole));

  restoreGame(*live, *saved);
  EXPECT_EQ(stateHash(*live), stateHash(*whole));
  EXPECT_EQ(firstDifference(*live, *whole), "");
  EXPECT_EQ(live->screen.pictures.data(), firstPicture);
  EXPECT_TRUE(samePictures(*live, *whole));
  // That it plays on as the original would: sync_test_test.cpp.
}

TEST(Snapshot, DifferentPicturesAreNoticed) {
  auto a = std::make_unique<Game>();
  QuietWindow ws(*a);
  openWindow(*a, ws, 1);
  auto b = std::make_unique<Game>(*a);
  EXPECT_TRUE(samePictures(*a, *b));
  b->screen.pictures.back().pixels.back() ^= 1;
  EXPECT_FALSE(samePictures(*a, *b));
  b->screen.pictures.pop_back();
  EXPECT_FALSE(samePictures(*a, *b));
}

}  // namespace
}  // namespace zelkar::net
