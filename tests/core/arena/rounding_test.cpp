#include "arena/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace zelkar {

TEST(Rounding, Int16ConversionRoundsHalfToEvenAndRefusesOverflow) {
  EXPECT_EQ(toInt16(2.5), 2);
  EXPECT_EQ(toInt16(3.5), 4);
  EXPECT_EQ(toInt16(-2.5), -2);
  EXPECT_EQ(toInt16(-32768.4), -32768);
  EXPECT_EQ(toInt16(32767.5), std::nullopt);  // rounds to 32768
  EXPECT_EQ(toInt16(-32768.6), std::nullopt);
  EXPECT_EQ(toInt16(std::nan("")), std::nullopt);
  // In range the conversion takes a shortcut of its own: halves, the
  // largest value below a half, and the ends of the range.
  for (auto [value, want] : {std::pair{2.5, 2},
                             {3.5, 4},
                             {-2.5, -2},
                             {-3.5, -4},
                             {-0.5, 0},
                             {0.49999999999999994, 0},
                             {-0.0, 0},
                             {1e-300, 0},
                             {32767.4, 32767},
                             {32767.5, 32767},
                             {-32768.5, -32768},
                             {-32768.6, -32768}})
    EXPECT_EQ(toInt16Clamped(value), want) << value;
  EXPECT_EQ(toInt16Clamped(40000), 32767);
  EXPECT_EQ(toInt16Clamped(-1e9), -32768);
  EXPECT_EQ(toInt16Clamped(std::nan("")), 0);
  EXPECT_EQ(floorToInt16Clamped(-0.5), -1);
  EXPECT_EQ(floorToInt16Clamped(1e12), 32767);
}

TEST(Rounding, ARingOfOffsetsRoundsEachPointAsItsOwnSum) {
  // At a half the sum rounds to even, so an odd offset lands on the other
  // side: 2.5 + 1 = 3.5 rounds to 4, not to 2 + 1.
  for (auto [place, offset, want] : {std::tuple{2.5f, int16_t{0}, 2},
                                     {2.5f, int16_t{1}, 4},
                                     {-2.5f, int16_t{1}, -2},
                                     {2.4f, int16_t{-7}, -5},
                                     {1e9f, int16_t{0}, 32767},
                                     {std::nanf(""), int16_t{3}, 0}})
    EXPECT_EQ(OffsetRounding(place).at(offset), want) << place << " + " << offset;
}

TEST(Rounding, SigonyuuRoundsHalfUpToDigits) {
  EXPECT_DOUBLE_EQ(sigonyuu(0.345f, 3), 0.34);  // 0.345 as a float lies just below
  EXPECT_DOUBLE_EQ(sigonyuu(0.125f, 3), 0.13);  // an exact half rounds up
  EXPECT_DOUBLE_EQ(sigonyuu(2.5f, 1), 3);
  EXPECT_DOUBLE_EQ(sigonyuu(-2.5f, 1), -2);
  EXPECT_DOUBLE_EQ(sigonyuu(-2.35f, 2), -2.3);
  EXPECT_NEAR(sigonyuu(44.0f, 0), 40, 1e-5);  // f = 0.1: multiples of ten
  EXPECT_NEAR(sigonyuu(45.0f, 0), 50, 1e-5);
  // The one digit count whose 16-bit subtraction would overflow leaves the
  // value as it is instead of stopping the game.
  EXPECT_FLOAT_EQ(static_cast<float>(sigonyuu(1.25f, -32768)), 1.25f);
}

}  // namespace zelkar
