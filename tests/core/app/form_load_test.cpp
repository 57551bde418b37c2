#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/fake_window_system.h"

namespace zelkar {
namespace {

using testing::FakeWindowSystem;

// The window just loaded with seed 1 and readable settings.
class Loaded : public ::testing::Test {
 protected:
  void SetUp() override { formLoad(g, ws, 1); }
  FakeWindowSystem ws;
  Game g;
  const GameState& s = g.s;
};

TEST_F(Loaded, MeasuresTheSpritesAndFillsTheLimits) {
  // Slot count, field, vehicle, shell, base, blasts, wall, obstacle, base corners.
  EXPECT_EQ(
      (std::vector<int>{s.noShellSlot, s.fieldWidth, s.fieldHeight, s.vehicleSize, s.vehicleRadius,
                        s.shellSize, s.shellHalf, s.kitiHalf, s.blastWidth, s.shellBlastWidth,
                        s.wallHalf, s.obstacleWidth, s.kitiLeft[0], s.kitiLeft[1], s.kitiTop[0]}),
      (std::vector<int>{5, 793, 579, 21, 11, 4, 2, 18, 31, 10, 16, 31, 756, 0, 270}));
  EXPECT_EQ(s.shellColorBase[0], 0xFFFFF8);
  EXPECT_EQ(s.shellColorBase[1], 0xFFFFE8);
  EXPECT_EQ(s.settingMax, (Arr<int16_t, 6>{100, 300, 5000, 100, 30, 5000}));
  EXPECT_EQ(g.screen.startInterval, 1);
  EXPECT_EQ(g.rng.state(), 1u);
}

TEST_F(Loaded, ProbeRingSitsJustOutsideTheVehicle) {
  // Point 0 is straight above the centre (11, 11), 13 px away, not moved out.
  EXPECT_EQ(s.tables().ringDX[0], 11);
  EXPECT_EQ(s.tables().ringDY[0], -2);
  EXPECT_GT(s.tables().ringDX[128], 21);  // a quarter turn clockwise: right
  EXPECT_GT(s.tables().ringDY[256], 21);  // below
  EXPECT_LT(s.tables().ringDX[384], 0);   // left
  for (int k = 0; k < 512; ++k) {
    const int dx = s.tables().ringDX[k] - 11, dy = s.tables().ringDY[k] - 11;
    // Corrected points are kept whatever their distance then is, but none
    // may touch the 21 px disc.
    EXPECT_GT(dx * dx + dy * dy, 11 * 11) << k;
    EXPECT_LE(dx * dx + dy * dy, 15 * 15) << k;
  }
}

TEST_F(Loaded, GunDirectionsPointRightThenClockwise) {
  EXPECT_FLOAT_EQ(s.tables().dirLineX[0], 20);
  EXPECT_FLOAT_EQ(s.tables().dirLineY[0], 11);
  EXPECT_NEAR(s.tables().dirLineX[32], 2, 1e-3);   // left
  EXPECT_NEAR(s.tables().dirLineY[16], 20, 1e-3);  // down on the screen
  EXPECT_FLOAT_EQ(s.tables().dirTurnX[0], 0);
  EXPECT_NEAR(s.tables().dirTurnY[0], 9 * (3.1415 / 32) * 0.4, 1e-6);
  EXPECT_EQ(g.screen.hline[0].x1, 11);
}

}  // namespace
}  // namespace zelkar
