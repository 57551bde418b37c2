#include "pad/pad_mapping.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelkar::pad {
namespace {

constexpr ControlSet L = 1, R = 2, U = 4, D = 8, FIRE = 16, TURN_MINUS = 32, TURN_PLUS = 64,
                     BACK = 128;

// The stick pushed `radius` out of 32767 towards `degrees`, measured from
// the right and turning downwards, as the arena's y axis does.
PadState stickAt(double degrees, double radius) {
  const double a = degrees * 3.14159265358979 / 180.0;
  PadState p;
  p.stickX = int16_t(std::lround(radius * std::cos(a)));
  p.stickY = int16_t(std::lround(radius * std::sin(a)));
  return p;
}

TEST(PadMapping, InBattleTheStickGivesTheEightDirectionsOfTheKeys) {
  // Each direction owns 45 degrees around it: 20 degrees off still counts
  // as that direction, 25 degrees off is the neighbour's.
  const ControlSet around[8] = {R, R | D, D, L | D, L, L | U, U, R | U};
  for (int k = 0; k < 8; ++k) {
    for (double off : {-20.0, 0.0, 20.0}) {
      EXPECT_EQ(heldControls(stickAt(45.0 * k + off, 30000), false), around[k])
          << "at " << 45.0 * k + off << " degrees";
    }
    EXPECT_EQ(heldControls(stickAt(45.0 * k + 25, 30000), false), around[(k + 1) % 8])
        << "at " << 45.0 * k + 25 << " degrees";
    EXPECT_EQ(heldControls(stickAt(45.0 * k - 25, 30000), false), around[(k + 7) % 8])
        << "at " << 45.0 * k - 25 << " degrees";
  }
}

TEST(PadMapping, InSetUpTheStickGivesOnlyTheNearestOfFourDirections) {
  // Thirty degrees off the horizontal still only changes the value, never
  // the row; the exact diagonal counts as sideways.
  EXPECT_EQ(heldControls(stickAt(30, 30000), true), R);
  EXPECT_EQ(heldControls(stickAt(60, 30000), true), D);
  EXPECT_EQ(heldControls(stickAt(150, 30000), true), L);
  EXPECT_EQ(heldControls(stickAt(-60, 30000), true), U);
  EXPECT_EQ(heldControls({.stickX = -20000, .stickY = 20000}, true), L);
  EXPECT_EQ(heldControls({.stickX = -20000, .stickY = 20000}, false), L | D);
}

TEST(PadMapping, TheDeadZoneIsARadiusOf8000) {
  for (bool setup : {false, true}) {
    EXPECT_EQ(heldControls({.stickX = 7999}, setup), 0) << setup;
    EXPECT_EQ(heldControls({.stickX = 8000}, setup), R) << setup;
    EXPECT_EQ(heldControls({.stickY = -8000}, setup), U) << setup;
    EXPECT_EQ(heldControls({.stickY = -32768}, setup), U) << setup;  // the far end of the range
  }
  // On the diagonal: 5656^2 * 2 = 63 980 672 < 8000^2 = 64 000 000, but
  // 5657^2 * 2 = 64 003 298 is past it.
  EXPECT_EQ(heldControls({.stickX = -5656, .stickY = 5656}, false), 0);
  EXPECT_EQ(heldControls({.stickX = -5657, .stickY = 5657}, false), L | D);
}

TEST(PadMapping, AHeldStickLetsGoOnlyBelow7000) {
  for (bool setup : {false, true}) {
    EXPECT_EQ(heldControls({.stickX = 7500}, setup, 0), 0) << setup;
    EXPECT_EQ(heldControls({.stickX = 7500}, setup, R), R) << setup;
    EXPECT_EQ(heldControls({.stickY = 7000}, setup, D), D) << setup;
    EXPECT_EQ(heldControls({.stickY = 6999}, setup, D), 0) << setup;
  }
}

TEST(PadMapping, InSetUpAPushKeepsItsAxisUntilTheOtherIsAThirdLarger) {
  // tan(50) = 1.19 and tan(55) = 1.43 either side of 4/3 = 1.33.
  EXPECT_EQ(heldControls(stickAt(50, 30000), true, R), R);
  EXPECT_EQ(heldControls(stickAt(55, 30000), true, R), D);
  EXPECT_EQ(heldControls(stickAt(40, 30000), true, D), D);
  EXPECT_EQ(heldControls(stickAt(35, 30000), true, D), R);
  EXPECT_EQ(heldControls(stickAt(-130, 30000), true, L), L);
  EXPECT_EQ(heldControls(stickAt(-125, 30000), true, L), U);
  // Nothing held before, or both axes (coming from battle): the nearest.
  EXPECT_EQ(heldControls(stickAt(50, 30000), true, 0), D);
  EXPECT_EQ(heldControls(stickAt(50, 30000), true, R | D), D);
  // In battle the sectors stay 45 degrees whatever was held.
  EXPECT_EQ(heldControls(stickAt(70, 30000), false, R | D), D);
}

TEST(PadMapping, ButtonsMeanTheSameInSetUpAndInBattle) {
  const std::pair<PadState, ControlSet> cases[] = {
      {{.south = true}, FIRE},
      {{.north = true}, BACK},
      {{.leftShoulder = true}, TURN_MINUS},
      {{.rightShoulder = true}, TURN_PLUS},
      // The d-pad gives its diagonals as pressed.
      {{.dpadUp = true, .dpadLeft = true}, U | L},
      {{.dpadDown = true, .dpadRight = true}, D | R},
  };
  for (bool setup : {false, true})
    for (const auto& [pad, controls] : cases)
      EXPECT_EQ(heldControls(pad, setup), controls) << setup;
}

TEST(PadMapping, TriggersTurnTheGunFromHalfWay) {
  EXPECT_EQ(heldControls({.leftTrigger = 16383, .rightTrigger = 16383}, false), 0);
  EXPECT_EQ(heldControls({.leftTrigger = 16384, .rightTrigger = 16383}, false), TURN_MINUS);
  EXPECT_EQ(heldControls({.leftTrigger = 16384, .rightTrigger = 32767}, false),
            TURN_MINUS | TURN_PLUS);
}

TEST(PadMapping, StickAndDpadAddUp) {
  PadState p = stickAt(0, 30000);
  p.dpadUp = true;
  p.south = true;
  EXPECT_EQ(heldControls(p, false), R | U | FIRE);
}

// The left player's keys: A D W S X Z C Q.
constexpr Arr<int16_t, 8> kLeft = {65, 68, 87, 83, 88, 90, 67, 81};
// The right player's keypad keys: 4 6 8 5 2 1 3 9.
constexpr Arr<int16_t, 8> kPad = {100, 102, 104, 101, 98, 97, 99, 105};

using Changes = std::vector<KeyChange>;

TEST(PadKeys, PressesOnceAndReleasesWhatItPressed) {
  PadKeys keys;
  EXPECT_EQ(keys.update(L | FIRE, kLeft), (Changes{{65, true}, {88, true}}));
  // Held is held: no repeated press.
  EXPECT_EQ(keys.update(L | FIRE, kLeft), Changes{});
  EXPECT_EQ(keys.update(L, kLeft), (Changes{{88, false}}));
  EXPECT_EQ(keys.update(0, kLeft), (Changes{{65, false}}));
  EXPECT_FALSE(keys.holdsAny());
}

TEST(PadKeys, ReleasesComeBeforePressesInOneRead) {
  // A stick swung from left to right between two reads must end with the
  // vehicle thrusting right: the release of A clears thrust along x, so it
  // has to come before the press of D.
  PadKeys keys;
  keys.update(L, kLeft);
  EXPECT_EQ(keys.update(R, kLeft), (Changes{{65, false}, {68, true}}));
}

TEST(PadKeys, AHeldControlFollowsASwitchedKeyTable) {
  // The keyboard kind changed while the stick was held: the key pressed
  // under the old table is let go and the new one pressed.
  PadKeys keys;
  keys.update(R | FIRE, kLeft);
  EXPECT_EQ(keys.update(R, kPad), (Changes{{68, false}, {88, false}, {102, true}}));
  EXPECT_EQ(keys.releaseAll(), (Changes{{102, false}}));
}

TEST(PadKeys, APulledPadReleasesEverythingItHeld) {
  PadKeys keys;
  keys.update(R | U | TURN_MINUS | BACK, kPad);
  EXPECT_EQ(keys.releaseAll(), (Changes{{102, false}, {104, false}, {97, false}, {105, false}}));
  EXPECT_EQ(keys.releaseAll(), Changes{});
}

TEST(PadKeys, AControlWithoutAKeySendsNothing) {
  // The right player has no keys when config.txt names no keyboard kind.
  PadKeys keys;
  const Arr<int16_t, 8> none{};
  EXPECT_EQ(keys.update(L | FIRE, none), Changes{});
  EXPECT_EQ(keys.update(0, none), Changes{});
}

}  // namespace
}  // namespace zelkar::pad
