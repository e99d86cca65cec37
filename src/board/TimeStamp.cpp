#include "TimeStamp.h"

namespace inkra::board {
namespace {

// Zero-padded to at least `digits`; a wider number is written whole.
void Append(std::string& out, int value, int digits) {
  std::string n = std::to_string(value < 0 ? -value : value);
  if (value < 0) out += '-';
  if (int(n.size()) < digits) out.append(digits - n.size(), '0');
  out += n;
}

}  // namespace

std::string FormatTimeStamp(const LocalDateTime& t, std::string_view timeSeparator) {
  std::string out;
  Append(out, t.year, 4);
  out += '-';
  Append(out, t.month, 2);
  out += '-';
  Append(out, t.day, 2);
  out += ' ';
  Append(out, t.hour, 2);
  out += timeSeparator;
  Append(out, t.minute, 2);
  return out;
}

}  // namespace inkra::board
