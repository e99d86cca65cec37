#pragma once
// The text of the board's time stamp: "yyyy-MM-dd hh:mm" on the 24-hour clock, the colon
// being the system's time separator.
#include <string>
#include <string_view>

namespace inkra::board {

struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

std::string FormatTimeStamp(const LocalDateTime& t, std::string_view timeSeparator = ":");

}  // namespace inkra::board
