// A shell fired from a vehicle standing on its own base must leave the base
// without bursting: its first probe pixel may not fall on the base pad.
#include <gtest/gtest.h>

#include <cmath>

#include "core/ui/ui_support.h"
#include "ui/prepare_sprites.h"
#include "ui/probe_surface.h"
#include "ui/vehicle_pictures.h"

namespace zelkar {
namespace {

// The hit-loop probe: one pixel beyond the front of a shell at (x, y).
std::pair<int, int> probePoint(float x, float y, float vx, float vy) {
  const float speed = std::sqrt(vx * vx + vy * vy);
  const float r = 1.5f;
  return {int(std::nearbyint(x + r + vx / speed * (r + 1))),
          int(std::nearbyint(y + r + vy / speed * (r + 1)))};
}

TEST(BaseShape, ShellsFiredFromTheBaseLeaveItInEveryDirection) {
  ScreenModel m;
  GameState s = testing::measuredState(m);
  makeVehiclePictures(m, s);
  prepareSprites(s, m);
  m.Picture2.visible = false;
  for (int p = 0; p < 2; ++p) {
    // Only the base is shown: the probe must read free space.
    for (auto& k : m.kiti) k.visible = false;
    m.kiti[p].visible = true;
    ProbeSurface probe;
    probe.capture(m);
    const float posX = float(s.kitiLeft[p] + 8), posY = float(s.kitiTop[p] + 8);
    for (int d = 0; d < kDirections; ++d) {
      for (int turn : {-1, 0, 1}) {
        for (float muzzle : {5.0f, 200.0f, 3000.0f}) {  // px/s: slow to fast shells
          const float half = float(s.shellHalf), size = float(s.shellSize);
          const float x =
              s.tables().dirLineX[d] + posX + s.tables().dirCos[d] * (1.5f * size) - half;
          const float y =
              s.tables().dirLineY[d] + posY + s.tables().dirSin[d] * (1.5f * size) - half;
          const float vx = s.tables().dirCos[d] * muzzle + s.tables().dirTurnX[d] * float(turn);
          const float vy = s.tables().dirSin[d] * muzzle + s.tables().dirTurnY[d] * float(turn);
          // At the muzzle, and after the first tick's move.
          for (float t : {0.0f, 0.03f}) {
            const auto [px, py] = probePoint(x + vx * t, y + vy * t, vx, vy);
            const int32_t c = probe.getPixel(m.pictures, px, py);
            EXPECT_TRUE(testing::isFreeColour(c))
                << "player " << p << " direction " << d << " turn " << turn << " reads " << std::hex
                << c << " at " << std::dec << px << "," << py;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace zelkar
