#include <gtest/gtest.h>

#include "TimeStamp.h"

namespace inkra::board {
namespace {

TEST(TimeStamp, PaddedFieldsOnTheTwentyFourHourClock) {
  EXPECT_EQ(FormatTimeStamp({2006, 5, 1, 14, 7}), "2006-05-01 14:07");
  EXPECT_EQ(FormatTimeStamp({1999, 12, 31, 0, 0}), "1999-12-31 00:00");
  EXPECT_EQ(FormatTimeStamp({2024, 10, 9, 23, 59}), "2024-10-09 23:59");
  EXPECT_EQ(FormatTimeStamp({987, 1, 2, 3, 4}), "0987-01-02 03:04");
}

TEST(TimeStamp, SystemTimeSeparatorReplacesTheColonOnly) {
  EXPECT_EQ(FormatTimeStamp({2006, 5, 1, 14, 7}, "."), "2006-05-01 14.07");
  EXPECT_EQ(FormatTimeStamp({2006, 5, 1, 9, 30}, "时"), "2006-05-01 09时30");
}

}  // namespace
}  // namespace inkra::board
