// Constants the rules write as decimals are doubles; only stored values are
// single precision. Checked to the last bit on values worked out by hand.
#include <gtest/gtest.h>

#include "sim/instruments.h"
#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

TEST(Precision, FrictionCoefficientsAreTheShownValuesTimes9Point8) {
  struct Seeded {
    uint32_t seed;
    const char *staticText, *kineticText;
    float staticDecel, kineticDecel;  // coefficient x 9.8, m/s^2, as singles
  };
  // 0.16 x 9.8 = 1.568 (a single 9.8 would give 1.5680001), 0.09 x 9.8 = 0.882;
  // 0.39 x 9.8 = 3.822, 0.22 x 9.8 = 2.156; 0.46 x 9.8 = 4.508, 0.04 x 9.8 = 0.392.
  const Seeded cases[] = {{30, "0.16", "0.09", 1.568f, 0.882f},
                          {3, "0.39", "0.22", 3.822f, 2.156f},
                          {20, "0.46", "0.04", 4.508f, 0.392f}};
  for (const Seeded& c : cases) {
    FakeWindowSystem ws;
    Game g = startedGame(ws, c.seed, /*friction=*/true);
    EXPECT_EQ(g.screen.hyoumas[0].caption.view(), c.staticText) << "seed " << c.seed;
    EXPECT_EQ(g.screen.hyoumas[1].caption.view(), c.kineticText) << "seed " << c.seed;
    EXPECT_EQ(g.s.frictionCoef[0], c.staticDecel) << "seed " << c.seed;
    EXPECT_EQ(g.s.frictionCoef[1], c.kineticDecel) << "seed " << c.seed;
  }
}

TEST(Precision, TheMassOfAFuelSettingCountsEveryLitreAt0Point4193) {
  FakeWindowSystem ws;
  Game g = startedGame(ws);
  GameState& s = g.s;
  // Set-up rows of the fuel capacity, 36 and 108, both players.
  const int16_t fuel[2] = {36, 108};
  for (int p = 0; p < 2; ++p) {
    s.settingRow[p] = 2;
    s.setting[p][2] = fuel[p];
  }
  tick(g, 16);  // the adjustment runs on every 16th tick
  // 622 x 10 + 10 x 100 + 36 x 0.4193 x 10 + 50 x 10 = 7870.948, whose
  // nearest single is 7870.94824 (a single 0.4193 gives 7870.94775);
  // 7720 + 108 x 4.193 = 8172.844 -> 8172.84424 (not 8172.84375).
  EXPECT_EQ(s.totalMass[0], 7870.948f);
  EXPECT_EQ(s.totalMass[1], 8172.844f);
  EXPECT_EQ(g.screen.setsuuti[6].caption.view(), "7870");
}

TEST(Precision, BurningFuelTakesTheRateTimes0Point4193OffTheMass) {
  InBattle b;
  auto& [ws, g, s] = b;
  placeVehicle(g, 0, 600, 100, 0, 0);
  placeVehicle(g, 1, 100, 100, 0, 0);
  const float mass = s.totalMass[1];
  ASSERT_EQ(mass, 8558.6f);  // 7720 + 200 x 4.193
  // The rate holds 0.4193 as a single: 100 x 1000 / 0.4193 / 5100 L/s.
  const float rate = static_cast<float>(100.0 * 1000 / double(0.4193f) / 5100);
  EXPECT_EQ(s.fuelRate[1], rate);
  formKeyDown(g, ws, 68, 0);  // D: thrust right
  tick(g);
  EXPECT_EQ(s.totalMass[1], static_cast<float>(mass - double(rate) * 0.4193 * double(0.03f)));
  EXPECT_EQ(s.fuelLeft[1], static_cast<float>(2000 - double(rate) * double(0.03f)));
}

TEST(Precision, TheDamageReadOutRoundsThePercentageOnce) {
  InBattle b;
  auto& [ws, g, s] = b;
  ASSERT_EQ(s.armourFull[0], 1840000);
  // 11960 of 1840000 lost: 0.65 per cent, held in single precision as
  // 0.64999998, so one decimal half up shows 0.6 (single arithmetic all the
  // way gives 0.65000153 and 0.7).
  s.armourLeft[0] = 1840000 - 11960;
  damageReadout(g, 0);
  EXPECT_EQ(g.screen.hyosuu[12].caption.view(), "0.6");
  // 15640 lost: 0.85 per cent, held as 0.85000002: 0.9 (single arithmetic:
  // 0.84999847, 0.8).
  s.armourLeft[1] = 1840000 - 15640;
  damageReadout(g, 1);
  EXPECT_EQ(g.screen.hyosuu[13].caption.view(), "0.9");
}

}  // namespace
}  // namespace zelkar
