#include "sim/instruments.h"

#include <gtest/gtest.h>

#include <vector>

#include "sim/number_text.h"

namespace zelkar {
namespace {

std::string_view caption(const Game& g, int label) { return g.screen.hyosuu[label].caption.view(); }

using Texts = std::vector<std::string_view>;
Texts captions(const Game& g, std::initializer_list<int> labels) {
  Texts texts;
  for (int label : labels) texts.push_back(caption(g, label));
  return texts;
}

TEST(NumberText, ShortestPlainDecimal) {
  EXPECT_EQ(numberText(0.34).view(), "0.34");
  EXPECT_EQ(numberText(-12.3).view(), "-12.3");
  EXPECT_EQ(numberText(33.3).view(), "33.3");
  EXPECT_EQ(numberText(1840000).view(), "1840000");
  EXPECT_EQ(numberText(10000000).view(), "10000000");  // not squeezed into 1e+07
  EXPECT_EQ(numberText(0.05).view(), "0.05");
  EXPECT_EQ(numberText(-0.3).view(), "-0.3");
  EXPECT_EQ(numberText(999999999999999.0).view(), "999999999999999");
  EXPECT_EQ(numberText(123456789012345.6).view(), "123456789012345.6");  // 16 digits
  EXPECT_EQ(numberText(0.1 + 0.2).view(), "0.30000000000000004");        // no short decimal
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
  const Drive d{.engineAccel = 9.8f, .kineticInUse = 4.9f};
  g.s.thrustX[1] = -1;
  g.screen.hyosuu[2].caption = "x";
  motionReadouts(g, 0, d);
  motionReadouts(g, 1, d);
  // Label 4: no thrust key held, even while friction acts; 2 is not an
  // instrument of the tick.
  EXPECT_EQ(captions(g, {4, 5, 14, 16, 10, 11, 15, 17, 2}),
            (Texts{"0", "12.3", "-12.3", "17.5", "14.7", "3", "2.3", "3.8", "x"}));

  g.s.velY[0] = 0.04f;  // rounds to 0 and then negated: still "0"
  motionReadouts(g, 0, d);
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
  EXPECT_EQ(captions(g, {7, 6, 9, 12, 13}), (Texts{"123.4", "7", "1840000", "0", "33.3"}));

  g.s.armourLeft[1] = -3000;  // overkill shows beyond 100
  damageReadout(g, 1);
  EXPECT_EQ(caption(g, 13), "200");
}

}  // namespace
}  // namespace zelkar
