#include "sim/instruments.h"

#include <gtest/gtest.h>

#include "sim/number_text.h"

namespace zelkar {
namespace {

std::string_view caption(const Game& g, int label) { return g.screen.hyosuu[label].caption.view(); }

TEST(NumberText, ShortestPlainDecimal) {
  EXPECT_EQ(numberText(0.34).view(), "0.34");
  EXPECT_EQ(numberText(-12.3).view(), "-12.3");
  EXPECT_EQ(numberText(33.3).view(), "33.3");
  EXPECT_EQ(numberText(1840000).view(), "1840000");
  EXPECT_EQ(numberText(10000000).view(), "10000000");  // not squeezed into 1e+07
  EXPECT_EQ(numberText(0).view(), "0");
  EXPECT_EQ(numberText(-0.0).view(), "0");
  EXPECT_EQ(numberText(0.0001).view(), "0.0001");
  // Far outside what a label can show in full: exponent form.
  EXPECT_EQ(numberText(1.5e20).view(), "1.5E+20");
  EXPECT_EQ(numberText(-1e-5).view(), "-1E-05");
}

TEST(NumberText, SettingsAndCounts) {
  EXPECT_EQ(settingText(10).view(), "10");
  EXPECT_EQ(settingText(500).view(), "500");
  EXPECT_EQ(settingText(0.4193f).view(), "0.4193");  // the float's own shortest text
  EXPECT_EQ(integerText(-32768).view(), "-32768");
  Caption c;
  setNumberText(c, 500.0f);
  EXPECT_EQ(c.view(), "500");
}

TEST(Instruments, MotionReadoutsRoundAndShowYUpwards) {
  Game g;
  g.s.velX[0] = 12.34f, g.s.velY[0] = 12.34f;
  g.s.velX[1] = 3, g.s.velY[1] = -2.35f;  // -2.35 rounds half up to -2.3
  g.s.engineAccel = 9.8f, g.s.kineticInUse = 4.9f;
  g.s.thrustX[1] = -1;
  g.screen.hyosuu[2].caption = "x";
  motionReadouts(g, 0);
  motionReadouts(g, 1);
  EXPECT_EQ(caption(g, 4), "0");  // no thrust key held, even while friction acts
  EXPECT_EQ(caption(g, 5), "12.3");
  EXPECT_EQ(caption(g, 14), "-12.3");
  EXPECT_EQ(caption(g, 16), "17.5");
  EXPECT_EQ(caption(g, 10), "14.7");
  EXPECT_EQ(caption(g, 11), "3");
  EXPECT_EQ(caption(g, 15), "2.3");
  EXPECT_EQ(caption(g, 17), "3.8");
  EXPECT_EQ(caption(g, 2), "x");  // not an instrument of the tick

  g.s.velY[0] = 0.04f;  // rounds to 0 and then negated: still "0"
  motionReadouts(g, 0);
  EXPECT_EQ(caption(g, 14), "0");
}

TEST(Instruments, LoadAndDamageReadouts) {
  Game g;
  g.s.fuelLeft[1] = 123.45f;  // held just below .45
  g.s.shellsLeft[1] = 7;
  g.s.totalMass[1] = 1840000;
  g.s.armourFull = {3000, 3000};
  g.s.armourLeft = {3000, 2000};
  loadReadouts(g, 1);
  damageReadout(g, 0);
  damageReadout(g, 1);
  EXPECT_EQ(caption(g, 7), "123.4");
  EXPECT_EQ(caption(g, 6), "7");
  EXPECT_EQ(caption(g, 9), "1840000");
  EXPECT_EQ(caption(g, 12), "0");
  EXPECT_EQ(caption(g, 13), "33.3");

  g.s.armourLeft[1] = -3000;  // overkill shows beyond 100
  damageReadout(g, 1);
  EXPECT_EQ(caption(g, 13), "200");
}

}  // namespace
}  // namespace zelkar
