// Set-up against what is seen of the other vehicle: heavy armour gets heavy
// shells, a strong engine is matched, and only with set-up sense.
#include "cpu/setup_choice.h"

#include <gtest/gtest.h>

namespace zelkar::cpu {
namespace {

TEST(SetupChoice, ShellMassDestroysTheSeenArmourInTwoStrikes) {
  // Armour energy is 18400 per squared mm; a strike of a shell of m kg takes about
  // 3,100,800 m. Two strikes of m kg destroy armour a when 2 * 3,100,800 m > 18400 a^2.
  struct Case {
    float armourMm;
    float shellKg;  // level 3's choice, force 1500
  } const cases[] = {
      {10, 1},   // 1,840,000: one strike of its own 1 kg shells does it
      {13, 1},   // 3,109,600: two strikes of 1 kg (6,201,600)
      {40, 5},   // 29,440,000 / 6,201,600 = 4.75: 5 kg
      {100, 7},  // 29.7 kg wanted, but a shell leaves at sqrt(8 * 1500 / m) >= 40 px/s: m <= 7.5
  };
  for (const Case& c : cases) {
    const auto rows = settingsAgainst(traitsOf(3), Opponent{c.armourMm, 100});
    EXPECT_EQ(rows[4], c.shellKg) << c.armourMm << " mm";
  }
}

TEST(SetupChoice, MatchesAStrongerEngineUpToThePanelsTop) {
  EXPECT_EQ(settingsAgainst(traitsOf(3), Opponent{10, 100})[1], 150);  // its own is stronger
  EXPECT_EQ(settingsAgainst(traitsOf(3), Opponent{10, 250})[1], 250);
  EXPECT_EQ(settingsAgainst(traitsOf(3), Opponent{10, 300})[1], 300);
}

TEST(SetupChoice, LevelsWithoutSetUpSenseKeepTheirOwnLiking) {
  for (int level : {1, 2})
    EXPECT_EQ(settingsAgainst(traitsOf(level), Opponent{60, 300}), traitsOf(level).settings)
        << "level " << level;
}

}  // namespace
}  // namespace zelkar::cpu
