#include <gtest/gtest.h>

#include "Numeric.h"

using namespace inkra;

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(282.5L), 282);
  EXPECT_EQ(RoundHalfEven(283.5L), 284);
  EXPECT_EQ(RoundHalfEven(-0.5L), 0);
  EXPECT_EQ(RoundHalfEven(-1.5L), -2);
  EXPECT_EQ(RoundHalfEven(-2.5L), -2);
}

TEST(RoundHalfEven, OtherValuesGoToTheNearest) {
  EXPECT_EQ(RoundHalfEven(215.0L), 215);
  EXPECT_EQ(RoundHalfEven(248.75L), 249);
  EXPECT_EQ(RoundHalfEven(-35.2L), -35);
  EXPECT_EQ(RoundHalfEven(-35.7L), -36);
}

TEST(MulDiv, PointsBecomePixelsAt96Dpi) {
  EXPECT_EQ(PointsToPixels(8), 11);
  EXPECT_EQ(PointsToPixels(12), 16);
  EXPECT_EQ(PointsToPixels(20), 27);
  EXPECT_EQ(PointsToPixels(30), 40);
  EXPECT_EQ(PointsToPixels(48), 64);
  EXPECT_EQ(PointsToPixels(10), 13);
}

TEST(MulDiv, RoundsHalvesAwayFromZeroAndRefusesZeroDivisor) {
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(5, 3, 0), -1);
  EXPECT_EQ(MulDiv(0x7FFFFFFF, 2, 2), 0x7FFFFFFF);  // no overflow in the product
}
