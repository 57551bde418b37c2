// Set-up through the panel keys: the rows are walked, the coarse and fine
// steps held and released, and the panel confirmed, for both sides.
#include "cpu/setup_keys.h"

#include <gtest/gtest.h>

namespace zelkar::cpu {
namespace {

// The right player's keypad keys (keyboard kind 1) and the left player's
// letters, controls 0..7: left, right, up, down, fire, turn -, turn +, back.
constexpr int16_t kKeypad[8] = {100, 102, 104, 101, 98, 97, 99, 105};
constexpr int16_t kLetters[8] = {65, 68, 87, 83, 88, 90, 67, 81};

int16_t key(int p, int control) { return p == 0 ? kKeypad[control] : kLetters[control]; }

GameState panel() {
  GameState s;
  for (int c = 0; c < 8; ++c) s.rightKeys[c] = kKeypad[c];
  s.settingMax = {100, 300, 5000, 100, 30, 5000};
  for (int p = 0; p < 2; ++p) s.setting[p] = {10, 100, 200, 50, 10, 500};
  return s;
}

constexpr std::array<float, 6> kWanted = {10, 150, 200, 50, 1, 500};

TEST(SetupKeys, MovesDownToTheFirstRowToChange) {
  for (int p = 0; p < 2; ++p) {
    GameState s = panel();
    KeyEvents out;
    setupKeys(out, s, p, kWanted);
    ASSERT_EQ(out.size(), 1) << "player " << p;
    EXPECT_EQ(out[0], (KeyEvent{true, key(p, kDown)}));
  }
}

TEST(SetupKeys, HoldsTheCoarseStepWhileTenOrMoreAreMissing) {
  for (int p = 0; p < 2; ++p) {
    GameState s = panel();
    s.settingRow[p] = 1;
    KeyEvents out;
    setupKeys(out, s, p, kWanted);  // 100 -> 150
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0], (KeyEvent{true, key(p, kRight)}));
    // Held already: nothing new until the value arrives.
    s.settingStep[p] = 10;
    KeyEvents held;
    setupKeys(held, s, p, kWanted);
    EXPECT_EQ(held.size(), 0);
  }
}

TEST(SetupKeys, FineStepForTheLastFewBothWays) {
  for (int p = 0; p < 2; ++p) {
    GameState s = panel();
    s.settingRow[p] = 1;
    s.setting[p][1] = 145;  // 5 below 150: +1 steps
    KeyEvents up;
    setupKeys(up, s, p, kWanted);
    ASSERT_EQ(up.size(), 1);
    EXPECT_EQ(up[0], (KeyEvent{true, key(p, kTurnPlus)}));
    s.setting[p][1] = 159;  // 9 above: -1 steps, not -10 (it would overshoot)
    KeyEvents down;
    setupKeys(down, s, p, kWanted);
    ASSERT_EQ(down.size(), 1);
    EXPECT_EQ(down[0], (KeyEvent{true, key(p, kTurnMinus)}));
    s.setting[p][1] = 170;  // 20 above: -10
    KeyEvents coarse;
    setupKeys(coarse, s, p, kWanted);
    ASSERT_EQ(coarse.size(), 1);
    EXPECT_EQ(coarse[0], (KeyEvent{true, key(p, kLeft)}));
  }
}

TEST(SetupKeys, ReleasesAHeldStepBeforeLeavingTheRow) {
  for (int p = 0; p < 2; ++p) {
    GameState s = panel();
    s.settingRow[p] = 1;
    s.setting[p][1] = 150;  // arrived; shell mass (row 4) is next
    s.settingStep[p] = 10;
    KeyEvents out;
    setupKeys(out, s, p, kWanted);
    ASSERT_EQ(out.size(), 4);
    EXPECT_EQ(out[0], (KeyEvent{false, key(p, kLeft)}));
    for (int i = 1; i < 4; ++i) EXPECT_EQ(out[i], (KeyEvent{true, key(p, kDown)}));
  }
}

TEST(SetupKeys, WalksUpFromALowerRow) {
  GameState s = panel();
  s.settingRow[1] = 5;
  KeyEvents out;
  setupKeys(out, s, 1, kWanted);  // row 1 first: four rows up
  ASSERT_EQ(out.size(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i], (KeyEvent{true, key(1, kUp)}));
}

TEST(SetupKeys, ConfirmsWhenEveryRowIsRight) {
  for (int p = 0; p < 2; ++p) {
    GameState s = panel();
    s.setting[p] = kWanted;
    s.settingRow[p] = 4;
    KeyEvents out;
    setupKeys(out, s, p, kWanted);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0], (KeyEvent{true, key(p, kFire)}));
    // A step still held is let go first, or it would go on after confirming.
    s.settingStep[p] = -1;
    KeyEvents held;
    setupKeys(held, s, p, kWanted);
    ASSERT_EQ(held.size(), 2);
    EXPECT_EQ(held[0], (KeyEvent{false, key(p, kLeft)}));
    EXPECT_EQ(held[1], (KeyEvent{true, key(p, kFire)}));
  }
}

TEST(SetupKeys, WantedValuesOutsideThePanelsLimitsAreClamped) {
  GameState s = panel();
  s.setting[0] = {10, 100, 200, 50, 1, 5000};
  s.settingRow[0] = 4;
  // Shell mass 0 is below the lowest value 1 and force 9000 above 5000:
  // both already at their bounds, so the panel is confirmed.
  KeyEvents out;
  setupKeys(out, s, 0, {10, 100, 200, 50, 0, 9000});
  ASSERT_EQ(out.size(), 1);
  EXPECT_EQ(out[0], (KeyEvent{true, key(0, kFire)}));
}

}  // namespace
}  // namespace zelkar::cpu
