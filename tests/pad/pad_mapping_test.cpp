// What a pad holds, the keys it presses for it, and who holds a key.
#include "pad/pad_mapping.h"

#include <gtest/gtest.h>

#include <cmath>

#include "pad/key_holders.h"

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

// Everything but the eight directions: set-up's four, the dead zone, the
// held stick's lower threshold, set-up's preference for the axis already
// pushed, the buttons, the triggers, and stick and d-pad together.
TEST(PadMapping, WhatAPadHoldsInSetUpAndInBattle) {
  enum When { battle, setUp, both };
  const struct {
    PadState pad;
    When when;
    ControlSet before, held;
  } cases[] = {
      // Set-up takes the nearest of four: thirty degrees off the horizontal
      // still only changes the value; the exact diagonal counts as sideways.
      {stickAt(30, 30000), setUp, 0, R},
      {stickAt(60, 30000), setUp, 0, D},
      {stickAt(150, 30000), setUp, 0, L},
      {stickAt(-60, 30000), setUp, 0, U},
      {{.stickX = -20000, .stickY = 20000}, setUp, 0, L},
      {{.stickX = -20000, .stickY = 20000}, battle, 0, L | D},
      // The dead zone is a radius of 8000: on the diagonal 5656^2 * 2 =
      // 63 980 672 is inside it, 5657^2 * 2 = 64 003 298 past it.
      {{.stickX = 7999}, both, 0, 0},
      {{.stickX = 8000}, both, 0, R},
      {{.stickY = -8000}, both, 0, U},
      {{.stickY = -32768}, both, 0, U},
      {{.stickX = -5656, .stickY = 5656}, battle, 0, 0},
      {{.stickX = -5657, .stickY = 5657}, battle, 0, L | D},
      // A held stick lets go only below 7000.
      {{.stickX = 7500}, both, 0, 0},
      {{.stickX = 7500}, both, R, R},
      {{.stickY = 7000}, both, D, D},
      {{.stickY = 6999}, both, D, 0},
      // In set-up a push keeps its axis until the other is a third larger:
      // tan(50) = 1.19 and tan(55) = 1.43 either side of 4/3.
      {stickAt(50, 30000), setUp, R, R},
      {stickAt(55, 30000), setUp, R, D},
      {stickAt(40, 30000), setUp, D, D},
      {stickAt(35, 30000), setUp, D, R},
      {stickAt(-130, 30000), setUp, L, L},
      {stickAt(-125, 30000), setUp, L, U},
      // Nothing held before, or both axes (coming from battle): the nearest.
      {stickAt(50, 30000), setUp, 0, D},
      {stickAt(50, 30000), setUp, R | D, D},
      // In battle the sectors stay 45 degrees whatever was held.
      {stickAt(70, 30000), battle, R | D, D},
      // Buttons mean the same everywhere; the d-pad gives its diagonals.
      {{.south = true}, both, 0, FIRE},
      {{.north = true}, both, 0, BACK},
      {{.leftShoulder = true}, both, 0, TURN_MINUS},
      {{.rightShoulder = true}, both, 0, TURN_PLUS},
      {{.dpadUp = true, .dpadLeft = true}, both, 0, U | L},
      {{.dpadDown = true, .dpadRight = true}, both, 0, D | R},
      // Triggers turn the gun from half-way.
      {{.leftTrigger = 16383, .rightTrigger = 16383}, battle, 0, 0},
      {{.leftTrigger = 16384, .rightTrigger = 16383}, battle, 0, TURN_MINUS},
      {{.leftTrigger = 16384, .rightTrigger = 32767}, battle, 0, TURN_MINUS | TURN_PLUS},
      // Stick and d-pad add up.
      {{.stickX = 30000, .dpadUp = true, .south = true}, battle, 0, R | U | FIRE},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    for (const bool setup : {false, true}) {
      if (c.when == (setup ? battle : setUp)) continue;
      EXPECT_EQ(heldControls(c.pad, setup, c.before), c.held)
          << "case " << i << ", set-up " << setup;
    }
  }
}

// The left player's keys: A D W S X Z C Q.
constexpr Arr<int16_t, 8> kLeft = {65, 68, 87, 83, 88, 90, 67, 81};
// The right player's keypad keys: 4 6 8 5 2 1 3 9.
constexpr Arr<int16_t, 8> kPad = {100, 102, 104, 101, 98, 97, 99, 105};

using Changes = std::vector<KeyChange>;

TEST(PadKeys, PressesOnceAndReleasesWhatItPressedReleasesFirst) {
  PadKeys keys;
  EXPECT_EQ(keys.update(L | FIRE, kLeft), (Changes{{65, true}, {88, true}}));
  EXPECT_EQ(keys.update(L | FIRE, kLeft), Changes{});  // held is held: no repeated press
  EXPECT_EQ(keys.update(L, kLeft), (Changes{{88, false}}));
  // A stick swung from left to right between two reads must end with the
  // vehicle thrusting right: the release of A clears thrust along x, so it
  // has to come before the press of D.
  EXPECT_EQ(keys.update(R, kLeft), (Changes{{65, false}, {68, true}}));
  EXPECT_EQ(keys.update(0, kLeft), (Changes{{68, false}}));
  EXPECT_FALSE(keys.holdsAny());
  // The right player has no keys when config.txt names no keyboard kind.
  const Arr<int16_t, 8> none{};
  EXPECT_EQ(keys.update(L | FIRE, none), Changes{});
  EXPECT_EQ(keys.update(0, none), Changes{});
}

TEST(PadKeys, AHeldControlFollowsASwitchedKeyTableAndAPulledPadReleasesAll) {
  // The keyboard kind changed while the stick was held: the key pressed
  // under the old table is let go and the new one pressed.
  PadKeys keys;
  keys.update(R | FIRE, kLeft);
  EXPECT_EQ(keys.update(R, kPad), (Changes{{68, false}, {88, false}, {102, true}}));
  EXPECT_EQ(keys.update(R | U | TURN_MINUS | BACK, kPad),
            (Changes{{104, true}, {97, true}, {105, true}}));
  EXPECT_EQ(keys.releaseAll(), (Changes{{102, false}, {104, false}, {97, false}, {105, false}}));
  EXPECT_EQ(keys.releaseAll(), Changes{});
}

TEST(KeyHolders, KeysAndSourcesAreKeptApartAndAKeyNobodyHeldIsReleased) {
  KeyHolders h;
  h.press(Source::pad1, 65);
  h.press(Source::pad2, 100);
  EXPECT_TRUE(h.release(Source::pad2, 100));
  // The second pad never held A: its release must not free the first pad's.
  EXPECT_FALSE(h.release(Source::pad2, 65));
  EXPECT_TRUE(h.release(Source::pad1, 65));
  // A key pressed before the window had the keys, or a code outside the
  // table, is released as it would be without pads.
  EXPECT_TRUE(h.release(Source::keyboard, 76));
  EXPECT_TRUE(h.release(Source::keyboard, 300));
  EXPECT_TRUE(h.release(Source::keyboard, -1));
  h.press(Source::keyboard, 300);
  EXPECT_FALSE(h.held(300));
}

}  // namespace
}  // namespace zelkar::pad
