// Set-up through the panel keys: the rows are walked, the coarse and fine
// steps held and released, and the panel confirmed, for both sides.
#include "cpu/setup_keys.h"

#include <gtest/gtest.h>

#include <vector>

#include "cpu/steering.h"

namespace zelkar::cpu {
namespace {

// The right player's keypad keys (keyboard kind 1) and the left player's
// letters, controls 0..7: left, right, up, down, fire, turn -, turn +, back.
constexpr int16_t kKeypad[8] = {100, 102, 104, 101, 98, 97, 99, 105};
constexpr int16_t kLetters[8] = {65, 68, 87, 83, 88, 90, 67, 81};

KeyEvent press(int p, int control) { return {true, p == 0 ? kKeypad[control] : kLetters[control]}; }
KeyEvent release(int p, int control) { return {false, press(p, control).keyCode}; }

GameState panel() {
  GameState s;
  for (int c = 0; c < 8; ++c) s.rightKeys[c] = kKeypad[c];
  s.settingMax = {100, 300, 5000, 100, 30, 5000};
  for (int p = 0; p < 2; ++p) s.setting[p] = {10, 100, 200, 50, 10, 500};
  return s;
}

constexpr std::array<float, 6> kWanted = {10, 150, 200, 50, 1, 500};

using Keys = std::vector<KeyEvent>;

Keys keysFor(const GameState& s, int p, const std::array<float, 6>& wanted = kWanted) {
  KeyEvents out;
  setupKeys(out, s, p, wanted);
  return Keys(out.begin(), out.end());
}

TEST(SetupKeys, MovesDownToTheFirstRowToChange) {
  for (int p = 0; p < 2; ++p) EXPECT_EQ(keysFor(panel(), p), Keys{press(p, kDown)}) << p;
}

TEST(SetupKeys, HoldsTheCoarseStepWhileTenOrMoreAreMissing) {
  for (int p = 0; p < 2; ++p) {
    GameState s = panel();
    s.settingRow[p] = 1;
    EXPECT_EQ(keysFor(s, p), Keys{press(p, kRight)}) << p;  // 100 -> 150
    // Held already: nothing new until the value arrives.
    s.settingStep[p] = 10;
    EXPECT_EQ(keysFor(s, p), Keys{}) << p;
  }
}

TEST(SetupKeys, FineStepForTheLastFewBothWays) {
  // 5 below 150: +1 steps; 9 above: -1 steps, not -10 (it would
  // overshoot); 20 above: -10.
  const std::pair<float, int> cases[] = {{145, kTurnPlus}, {159, kTurnMinus}, {170, kLeft}};
  for (int p = 0; p < 2; ++p) {
    for (const auto& [value, control] : cases) {
      GameState s = panel();
      s.settingRow[p] = 1;
      s.setting[p][1] = value;
      EXPECT_EQ(keysFor(s, p), Keys{press(p, control)}) << "player " << p << " at " << value;
    }
  }
}

TEST(SetupKeys, ReleasesAHeldStepBeforeLeavingTheRow) {
  for (int p = 0; p < 2; ++p) {
    GameState s = panel();
    s.settingRow[p] = 1;
    s.setting[p][1] = 150;  // arrived; shell mass (row 4) is next
    s.settingStep[p] = 10;
    const KeyEvent down = press(p, kDown);
    EXPECT_EQ(keysFor(s, p), (Keys{release(p, kLeft), down, down, down})) << p;
  }
}

TEST(SetupKeys, WalksUpFromALowerRow) {
  GameState s = panel();
  s.settingRow[1] = 5;
  EXPECT_EQ(keysFor(s, 1), Keys(4, press(1, kUp)));  // row 1 first: four rows up
}

TEST(SetupKeys, ConfirmsWhenEveryRowIsRight) {
  for (int p = 0; p < 2; ++p) {
    GameState s = panel();
    s.setting[p] = kWanted;
    s.settingRow[p] = 4;
    EXPECT_EQ(keysFor(s, p), Keys{press(p, kFire)}) << p;
    // A step still held is let go first, or it would go on after confirming.
    s.settingStep[p] = -1;
    EXPECT_EQ(keysFor(s, p), (Keys{release(p, kLeft), press(p, kFire)})) << p;
  }
}

TEST(SetupKeys, WantedValuesOutsideThePanelsLimitsAreClamped) {
  GameState s = panel();
  s.setting[0] = {10, 100, 200, 50, 1, 5000};
  s.settingRow[0] = 4;
  // Shell mass 0 is below the lowest value 1 and force 9000 above 5000:
  // both already at their bounds, so the panel is confirmed.
  EXPECT_EQ(keysFor(s, 0, {10, 100, 200, 50, 0, 9000}), Keys{press(0, kFire)});
}

// A vehicle confirmed on a base that an obstacle covers, or is about to
// cover, is struck before it can drive off: the panel waits instead.
TEST(SetupKeys, WaitsWhileAnObstacleSitsOnOrDriftsOntoTheBase) {
  // Base centre (118, 118); obstacle half 10, vehicle radius 11 and 6 px
  // of margin: threatened when the centres come within 27 px in 1 s.
  struct Case {
    float x, vx;  // obstacle centre x (y on the base's line) and x velocity
    bool waits;
  } const cases[] = {
      {118, 0, true},     // sits on the base
      {218, 0, false},    // 100 px off, at rest
      {218, -100, true},  // arrives within the second
      {218, 100, false},  // leaves
      {218, -50, false},  // still 50 px off after the second
      {140, 100, true},   // 22 px off now, though leaving
  };
  for (const Case& c : cases) {
    GameState s = panel();
    s.kitiLeft[1] = s.kitiTop[1] = 100;
    s.kitiHalf = 18;
    s.vehicleRadius = 11;
    s.lastObstacle = 0;
    s.obstHalf[0] = 10;
    s.obstX[0] = c.x - 10;
    s.obstY[0] = 108;
    s.obstVX[0] = c.vx;
    EXPECT_EQ(baseIsThreatened(s, 1, 1.0f), c.waits) << c.x << " " << c.vx;
  }
  GameState s = panel();
  s.setting[1] = kWanted;
  KeyEvents out;
  setupKeys(out, s, 1, kWanted, false);
  EXPECT_EQ(out.size(), 0);
}

}  // namespace
}  // namespace zelkar::cpu
