#include "ChineseText.h"

namespace inkra {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

bool IsChineseText(std::string_view gbk) {
  for (std::size_t i = 0; i < gbk.size(); i += 2) {
    if (static_cast<unsigned char>(gbk[i]) < 0xB0) return false;
    // A lead byte with nothing after it is half a character, not a Chinese one.
    if (i + 1 == gbk.size()) return false;
  }
  return true;
}

std::string TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  std::size_t begin = 0, end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

// Characters are counted at their lead bytes; a stray continuation byte belongs to the
// character before it, so broken text is never split inside a sequence.
std::size_t Utf8Length(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i)
    if (i == 0 || !IsContinuation(static_cast<unsigned char>(utf8[i]))) ++count;
  return count;
}

std::string Utf8CharAt(std::string_view utf8, std::size_t index) {
  std::size_t start = 0;
  for (std::size_t n = 0; n < index && start < utf8.size(); ++n) {
    ++start;
    while (start < utf8.size() && IsContinuation(static_cast<unsigned char>(utf8[start]))) ++start;
  }
  if (start >= utf8.size()) return {};
  std::size_t end = start + 1;
  while (end < utf8.size() && IsContinuation(static_cast<unsigned char>(utf8[end]))) ++end;
  return std::string(utf8.substr(start, end - start));
}

}  // namespace inkra
