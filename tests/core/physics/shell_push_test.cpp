// houdansyoutotu (a direct shell hit) and bakuhasyoutotu (a shell explosion).
#include <gtest/gtest.h>

#include <cmath>

#include "physics/collisions.h"

namespace zelkar {
namespace {

// A shell of radius 2 and mass 10 (player 0) centred at (sx, sy) with
// velocity (svx, 0) against a body of radius 10 and mass 10000 centred at
// (100, 100) with velocity (bvx, bvy).
GameState shot(float sx, float sy, float svx, float bvx = 0, float bvy = 0) {
  GameState s;
  s.shellHalf = 2;
  s.setting[0][4] = 10;
  s.colX1 = sx - 2, s.colY1 = sy - 2, s.colVx1 = svx, s.colVy1 = 0;
  s.colX2 = 90, s.colY2 = 90, s.colHalf2 = 10, s.colVx2 = bvx, s.colVy2 = bvy;
  s.colMass2 = 10000;
  s.colCoef = 0.2f;
  return s;
}

// Speed a body at rest of mass 10000 leaves with after a push of share 0.2f.
const double kPushed = std::sqrt(2 * 10 * double(0.2f) * 3876000 / 10000);

TEST(Houdansyoutotu, WindsBackToTheContactInstant) {
  // Passed right through: two positive roots, the earlier (leaving) one.
  GameState beyond = shot(120, 100, 1000);
  houdansyoutotu(beyond, 0);
  EXPECT_FLOAT_EQ(beyond.colX1 + 2, 112);
  EXPECT_EQ(beyond.colX2, 90);                 // the body was at rest
  EXPECT_NEAR(beyond.colVx2, -kPushed, 1e-4);  // pushed back along -x

  // Stopped just short: two negative roots, the nearer one ahead.
  GameState shortOf = shot(80, 100, 1000);
  houdansyoutotu(shortOf, 0);
  EXPECT_FLOAT_EQ(shortOf.colX1 + 2, 88);
  EXPECT_NEAR(shortOf.colVx2, kPushed, 1e-4);

  // Overlapping: one root each side, back to the first touch.
  GameState inside = shot(95, 100, 1000);
  houdansyoutotu(inside, 0);
  EXPECT_FLOAT_EQ(inside.colX1 + 2, 88);
  EXPECT_EQ(inside.colY1, 98);
  EXPECT_EQ(inside.colVx1, 1000);  // the shell's velocity is an input only
}

TEST(Houdansyoutotu, NoWindingBackWithoutRelativeMotionOrMeeting) {
  // Same velocity (alpha = 0): the push acts at the current places.
  GameState together = shot(95, 100, 50, 50, 0);
  houdansyoutotu(together, 0);
  EXPECT_EQ(together.colX1, 93);
  EXPECT_EQ(together.colX2, 90);
  EXPECT_NEAR(together.colVx2, std::sqrt(50.0 * 50 + kPushed * kPushed), 1e-3);

  // Passing above and never touching (D < 0); straight above means dx = 0.
  GameState miss = shot(100, 70, 1000);
  houdansyoutotu(miss, 0);
  EXPECT_EQ(miss.colX1, 98);
  EXPECT_EQ(miss.colY1, 68);
  EXPECT_NEAR(miss.colVy2, kPushed, 1e-4);  // down, away from the shell
  EXPECT_NEAR(miss.colVx2, std::cos(1.57075) * kPushed, 1e-6);
}

// A body coming towards the shell, slowed, stopped or turned back by the
// push, is held by the golden replays.

TEST(Houdansyoutotu, MasslessBodyIsNotPushed) {
  GameState s = shot(95, 100, 1000, 3, 4);
  s.colMass2 = 0;
  houdansyoutotu(s, 0);
  EXPECT_EQ(s.colVx2, 3);
  EXPECT_EQ(s.colVy2, 4);
}

// An explosion of radius-2 shell mass 10 centred at (ex, ey) against the body of shot().
GameState blast(float ex, float ey, float share) {
  GameState s = shot(ex, ey, 0);
  s.colMass1 = 10;
  s.setting[0][4] = 0;  // the explosion takes its mass from colMass1
  s.colCoef = share;
  return s;
}

// An explosion's push, away from its centre and in double precision, is
// held by the golden replays; its strength by blast_strength_test.cpp.

TEST(Bakuhasyoutotu, SpentExplosionOrMasslessBodyChangesNothing) {
  GameState spent = blast(80, 100, 0);
  bakuhasyoutotu(spent);
  EXPECT_EQ(spent.colVx2, 0);
  EXPECT_EQ(spent.colVy2, 0);

  GameState massless = blast(80, 100, 0.001f);
  massless.colMass2 = 0;
  bakuhasyoutotu(massless);
  EXPECT_EQ(massless.colVx2, 0);
  EXPECT_EQ(massless.colVy2, 0);
}

}  // namespace
}  // namespace zelkar
