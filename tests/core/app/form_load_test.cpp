#include <gtest/gtest.h>

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

// The probe ring and the gun directions made here are held by the golden
// replays: every probe and every shell of a match reads them.
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
  EXPECT_EQ(g.screen.hline[0].x1, 11);
}

}  // namespace
}  // namespace zelkar
