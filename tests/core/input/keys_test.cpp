#include <gtest/gtest.h>

#include "app/match_end.h"
#include "support/fake_window_system.h"

namespace zelkar {
namespace {

using testing::FakeWindowSystem;
using testing::startedGame;
using testing::tick;

constexpr int16_t kX = 88, kQ = 81;
constexpr int16_t kF1 = 112, kF2 = 113;

// A fresh started match for every test.
class Keys : public ::testing::Test {
 protected:
  FakeWindowSystem ws;
  Game g = startedGame(ws);
  GameState& s = g.s;
};

// The set-up keys (rows, steps, their release) and the keypad's table,
// where releasing either key of a pair clears the pair's command, are held
// by the golden replays, whose players press them in every set-up.

TEST_F(Keys, TheRightPlayerTakesTheLetterKeysOnAReload) {  // keypad mode by default
  ws.settings = ConfigRead{ConfigValues{0, 10, 1}, {}};
  formKeyDown(g, ws, kF1, 2);
  EXPECT_EQ(s.rightKeys[0], 76);  // L
  formKeyDown(g, ws, 191, 0);     // /: confirm
  formKeyDown(g, ws, 186, 0);     // ;: right
  EXPECT_EQ(s.thrustX[0], 1);
}

// The battle values a confirmation derives (barrel time, muzzle speeds,
// blast size, armour, fuel, shells, the full mass again after firing) are
// held by the golden replays.
TEST_F(Keys, ConfirmPutsThePlayerInBattle) {
  formKeyDown(g, ws, kX, 0);
  EXPECT_EQ(s.settingRow[1], kRowInBattle);
  EXPECT_FALSE(g.screen.settei[1].visible);
  EXPECT_EQ(g.screen.hyosuu[6 + 2].caption, "100");
  EXPECT_EQ(g.screen.hyosuu[13].caption, "0");
}

// Where the shell starts, its speed and the recoil (with and without
// friction) are held by the golden replays.
TEST_F(Keys, FireSoundsOnlyWithAFreeSlotAndShellsLeft) {
  formKeyDown(g, ws, kX, 0);
  tick(g);
  s.freeShellSlot[1] = 4;
  g.sounds.clear();
  formKeyDown(g, ws, kX, 0);
  EXPECT_EQ(s.shellState[1][4], 1);
  EXPECT_EQ(s.shellsLeft[1], 49);
  ASSERT_EQ(g.sounds.size(), 1u);
  EXPECT_EQ(g.sounds[0], Sound::hassyaon);
  s.freeShellSlot[1] = s.noShellSlot;
  formKeyDown(g, ws, kX, 0);
  s.freeShellSlot[1] = 2;
  s.shellsLeft[1] = 0;
  formKeyDown(g, ws, kX, 0);
  EXPECT_EQ(s.shellState[1][2], 0);
  EXPECT_EQ(g.sounds.size(), 1u);
}

TEST_F(Keys, BackToSetupOnlyOnTheOwnBase) {
  formKeyDown(g, ws, kX, 0);
  // Standing where the round put it: offset (-1, -1) from the base's centre.
  formKeyDown(g, ws, kQ, 0);
  EXPECT_EQ(s.settingRow[1], 0);
  EXPECT_TRUE(g.screen.settei[1].visible);
  formKeyDown(g, ws, kX, 0);
  s.posX[1] -= 2;  // (1, -1): still within 2 px
  formKeyDown(g, ws, kQ, 0);
  EXPECT_EQ(s.settingRow[1], 0);
  formKeyDown(g, ws, kX, 0);
  s.posX[1] -= 1;  // (2, -1): 5 is not less than 4
  formKeyDown(g, ws, kQ, 0);
  EXPECT_EQ(s.settingRow[1], kRowInBattle);
}

TEST_F(Keys, CtrlF2StopsAndCtrlF1ReloadsTheSettings) {
  formKeyDown(g, ws, kF2, 0);  // without Ctrl: nothing
  formKeyDown(g, ws, kF2, 3);  // Ctrl+Shift: nothing
  EXPECT_EQ(g.screen.timer1Interval, 10);
  formKeyDown(g, ws, kF2, 2);
  EXPECT_EQ(g.screen.timer1Interval, 0);
  EXPECT_TRUE(g.screen.Picture2.visible);
  EXPECT_EQ(g.screen.Picture2.top, 250);

  ws.settings = ConfigRead{ConfigValues{1, 40, 0}, {}};
  formKeyDown(g, ws, kF1, 2);
  EXPECT_EQ(ws.settingsWindowOpened, 1);
  EXPECT_EQ(g.s.tickInterval, 40);
  EXPECT_EQ(g.s.soundOn, 0);
  EXPECT_EQ(g.screen.timer1Interval, 40);  // also between matches

  // A settings file gone missing keeps the settings in force.
  ws.settings = ConfigRead{std::nullopt, "gone"};
  formKeyDown(g, ws, kF1, 2);
  EXPECT_EQ(g.s.tickInterval, 40);
}

// Ctrl+F1 starts no tick before a match, nor after one that ended while
// the modal settings window was open (the ticks run under it).
TEST(KeysOutsideAMatch, CtrlF1DoesNotStartTheTick) {
  FakeWindowSystem ws;
  Game before = testing::loadedGame(ws);
  formKeyDown(before, ws, kF1, 2);
  EXPECT_EQ(ws.settingsWindowOpened, 1);
  EXPECT_EQ(before.screen.timer1Interval, 0);
  Game g = startedGame(ws);
  ws.onSettingsWindow = [&] {
    g.s.subjectPlayer = 0;
    again(g);
  };
  formKeyDown(g, ws, kF1, 2);
  EXPECT_TRUE(g.awaitingAnswer);
  EXPECT_EQ(g.screen.timer1Interval, 0);
}

}  // namespace
}  // namespace zelkar
