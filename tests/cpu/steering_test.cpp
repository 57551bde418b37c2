// Keeping off walls: the warning comes in time to brake before the touch,
// and a goal behind a wall is reached round it.
#include "cpu/steering.h"

#include <gtest/gtest.h>

#include <cmath>

#include "cpu/route.h"

namespace zelkar::cpu {
namespace {

TEST(Hazard, BrakesBeforeTouchingAWallNotWhenTheCentresWouldMeet) {
  // Wall 0 centred on (200, 200), half 12: its corner lies 12 * 1.42 = 17.04 px out, and with
  // the radius 11 and 6 px of room the vehicle's centre must keep 34.04 px away. The vehicle is
  // 50 px to the right; head on at 25 px/s it touches after (50 - 34.04) / 25 = 0.64 s, within
  // the 1.5 s looked at, though the centres would meet only after 2 s.
  struct Case {
    float dy, vx, vy;  // centre offset below the wall's line, velocity
    int brakeX;        // the thrust wanted along x: +1 back to the right, 0 none
  } const cases[] = {
      {0, -25, 0, 1},   // head on
      {0, 25, 0, 0},    // driving away
      {40, -25, 0, 0},  // passing 40 px wide of the centre, beyond 34.04
      {0, -5, 0, 0},    // slow: the touch is (50 - 34.04) / 5 = 3.2 s away
      {0, 0, -25, 0},   // driving up past it: never nearer than the 50 px of now
  };
  for (int p = 0; p < 2; ++p) {
    for (const Case& c : cases) {
      GameState s;
      s.vehicleRadius = 11;
      s.lastObstacle = -1;
      s.lastWall = 0;
      s.kabeLeft[0] = s.kabeTop[0] = 188;
      s.kabeHalf[0] = 12;
      s.posX[1 - p] = s.posY[1 - p] = 600;  // the other vehicle far away
      s.kitiLeft[1 - p] = s.kitiTop[1 - p] = 700;
      s.posX[p] = 250 - 11;
      s.posY[p] = 200 + c.dy - 11;
      s.velX[p] = c.vx;
      s.velY[p] = c.vy;
      EXPECT_EQ(thrustFor(hazardWish(s, p, 1.5f), 0.3f).x, c.brakeX)
          << "player " << p << " dy " << c.dy << " v " << c.vx << "," << c.vy;
    }
  }
}

TEST(Route, PassesAWallInTheWayOnTheSideAwayFromIt) {
  // The vehicle's centre at (100, 200), the goal at (300, 200). Wall 0 of half 10 keeps a
  // centre 10 * 1.42 + 11 + 6 = 31.2 px off; the way round runs along the tangent to the
  // circle 8 px wider, 39.2 px, so the line from the vehicle to the point it heads for
  // passes the wall's centre exactly that far.
  struct Case {
    float wallY;  // the wall's centre y, its centre x at 200
    float side;   // -1: the way passes above the wall, +1 below, 0: straight to the goal
  } const cases[] = {
      {205, -1},  // just below the line: round above
      {195, 1},   // just above: round below
      {240, 0},   // 40 px off the line, beyond 31.2: the way is clear
  };
  for (int p = 0; p < 2; ++p) {
    for (const Case& c : cases) {
      GameState s;
      s.vehicleRadius = 11;
      s.lastWall = 0;
      s.kabeLeft[0] = 190;
      s.kabeTop[0] = static_cast<int16_t>(c.wallY - 10);
      s.kabeHalf[0] = 10;
      s.kitiLeft[1 - p] = s.kitiTop[1 - p] = 700;
      s.posX[p] = 100 - 11;
      s.posY[p] = 200 - 11;
      const Vec to = routeTowards(s, p, {300, 200});
      if (c.side == 0) {
        EXPECT_EQ(to.x, 300);
        EXPECT_EQ(to.y, 200);
        continue;
      }
      EXPECT_EQ(to.y < 200 ? -1 : 1, c.side) << "player " << p << " wall at y " << c.wallY;
      // Distance from the wall's centre (200, wallY) to the line through (100, 200) and `to`.
      const Vec d{to.x - 100, to.y - 200};
      const float cross = d.x * (c.wallY - 200) - d.y * (200 - 100);
      EXPECT_NEAR(std::abs(cross) / std::sqrt(dot(d, d)), 39.2f, 0.01f);
    }
  }
}

}  // namespace
}  // namespace zelkar::cpu
