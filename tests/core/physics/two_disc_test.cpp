// syoutotu (two movable discs) and kabesyoutotu (a disc off a fixed one).
#include <gtest/gtest.h>

#include <cmath>

#include "physics/collisions.h"

namespace zelkar {
namespace {

// Body 1 centred at (100, 100), body 2 at (100 + dx, 100 + dy); radius 10, mass 500.
GameState pair(float dx, float dy, float vx1, float vy1, float vx2, float vy2, float e) {
  GameState s;
  s.colX1 = 90, s.colY1 = 90, s.colX2 = 90 + dx, s.colY2 = 90 + dy;
  s.colHalf1 = s.colHalf2 = 10;
  s.colVx1 = vx1, s.colVy1 = vy1, s.colVx2 = vx2, s.colVy2 = vy2;
  s.colMass1 = s.colMass2 = 500;
  s.colCoef = e;
  return s;
}

// cos of the game's right angle: the share of a vertical exchange that leaks into x.
const double kLeak = std::cos(double(1.57075f));

TEST(Syoutotu, ElasticEqualMassesExchangeNormalComponents) {
  // Line of centres along (0.8, 0.6).
  GameState s = pair(16, 12, 50, -20, -10, 35, 1.0f);
  syoutotu(s);
  EXPECT_NEAR(0.8 * s.colVx1 + 0.6 * s.colVy1, 0.8 * -10 + 0.6 * 35, 1e-4);
  EXPECT_NEAR(0.8 * s.colVx2 + 0.6 * s.colVy2, 0.8 * 50 + 0.6 * -20, 1e-4);
  EXPECT_NEAR(-0.6 * s.colVx1 + 0.8 * s.colVy1, -0.6 * 50 + 0.8 * -20, 1e-4);
  EXPECT_NEAR(-0.6 * s.colVx2 + 0.8 * s.colVy2, -0.6 * -10 + 0.8 * 35, 1e-4);

  // Separating bodies are exchanged too; coincident centres exchange along x.
  GameState apart = pair(18, 0, -5, 0, 5, 0, 1.0f);
  syoutotu(apart);
  EXPECT_EQ(apart.colVx1, 5);
  GameState same = pair(0, 0, 10, 20, -10, 5, 1.0f);
  syoutotu(same);
  EXPECT_EQ(same.colVx1, -10);
  EXPECT_EQ(same.colVy1, 20);
  EXPECT_EQ(same.colVx2, 10);
}

TEST(Syoutotu, VerticalLineLeaksATraceIntoX) {
  GameState s = pair(0, 18, 0, 200, 0, -200, 0.5f);
  syoutotu(s);
  EXPECT_NEAR(s.colVy1, -100, 1e-3);
  EXPECT_NEAR(s.colVx1, -1.5 * kLeak * 200, 1e-6);  // -(1 + e) cs v
  EXPECT_NE(s.colVx1, 0);
}

TEST(Syoutotu, MasslessBodiesStayFinite) {
  GameState none = pair(18, 0, 7, 1, -3, 2, 0.5f);
  none.colMass1 = none.colMass2 = 0;
  syoutotu(none);  // nothing to share: velocities stay as they were
  EXPECT_EQ(none.colVx1, 7);
  EXPECT_EQ(none.colVx2, -3);
  GameState one = pair(18, 0, 7, 1, -3, 2, 0.5f);
  one.colMass2 = 0;
  syoutotu(one);  // a massless partner cannot slow body 1
  EXPECT_EQ(one.colVx1, 7);
  EXPECT_TRUE(std::isfinite(one.colVx2));
}

TEST(Kabesyoutotu, GlancingChangesNothingAndElasticKeepsSpeed) {
  GameState glance = pair(25, 0, 0, -80, 0, 0, 0.5f);
  kabesyoutotu(glance);
  EXPECT_EQ(glance.colVx1, 0);
  EXPECT_EQ(glance.colVy1, -80);

  GameState s = pair(16, 12, 50, 10, 0, 0, 1.0f);
  kabesyoutotu(s);
  EXPECT_NEAR(std::hypot(s.colVx1, s.colVy1), std::hypot(50.0, 10.0), 1e-4);
  EXPECT_NEAR(0.8 * s.colVx1 + 0.6 * s.colVy1, -(0.8 * 50 + 0.6 * 10), 1e-4);
}

}  // namespace
}  // namespace zelkar
