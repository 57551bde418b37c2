// A shell fired from a vehicle standing on its own base must leave the base
// without bursting: its first probe pixel may not fall on the base pad.
#include <gtest/gtest.h>

#include <cmath>

#include "core/ui/ui_support.h"
#include "input/player_actions.h"
#include "ui/probe_surface.h"

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
  testing::OpenedWindow w;
  ScreenModel& m = w.m;
  GameState& s = w.s;
  for (int p = 0; p < 2; ++p) {
    // Only the base is shown: the probe must read free space.
    for (auto& k : m.kiti) k.visible = false;
    m.kiti[p].visible = true;
    ProbeSurface probe;
    probe.capture(m);
    s.posX[p] = float(s.kitiLeft[p] + 8), s.posY[p] = float(s.kitiTop[p] + 8);
    s.velX[p] = s.velY[p] = 0;
    for (int d = 0; d < kDirections; ++d) {
      for (int turn : {-1, 0, 1}) {
        for (float muzzle : {5.0f, 200.0f, 3000.0f}) {  // px/s: slow to fast shells
          s.muzzleSpeed[p] = {muzzle, muzzle};
          const ShellLaunch l = shellLaunch(s, p, d, turn);
          const float x = float(l.centreX - s.shellHalf), y = float(l.centreY - s.shellHalf);
          const float vx = float(l.velX), vy = float(l.velY);
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
