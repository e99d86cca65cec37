#include "Colour.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace inkra {
namespace {

struct ColourName {
  std::string_view name;
  ColourValue value;
};

constexpr ColourValue Sys(int n) { return kSystemColourBit + ColourValue(n); }

constexpr std::array<ColourName, 52> kNames{{
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080},      {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},       {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},        {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},      {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},      {"clMedGray", 0xA4A0A0},
    {"clScrollBar", Sys(0)},    {"clBackground", Sys(1)},   {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)}, {"clMenu", Sys(4)},      {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},  {"clMenuText", Sys(7)},     {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},  {"clActiveBorder", Sys(10)}, {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)}, {"clHighlight", Sys(13)},  {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},     {"clBtnShadow", Sys(16)},   {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},     {"clInactiveCaptionText", Sys(19)}, {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},  {"cl3DLight", Sys(22)},     {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},      {"clHotLight", Sys(26)},    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)}, {"clMenuHighlight", Sys(29)}, {"clMenuBar", Sys(30)},
    {"clDefault", clDefault},   {"clNone", clNone},
}};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool IsDigits(std::string_view s, bool hex) {
  if (s.empty()) return false;
  for (char c : s) {
    bool digit = c >= '0' && c <= '9';
    bool hexLetter = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!digit && !(hex && hexLetter)) return false;
  }
  return true;
}

// "$" and hex digits: any value that fits in 32 bits, leading zeros allowed.
std::optional<ColourValue> ReadHex(std::string_view digits) {
  if (!IsDigits(digits, true)) return std::nullopt;
  std::uint32_t value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// Optionally signed decimal within the range of a signed 32-bit integer, kept as its bits.
std::optional<ColourValue> ReadDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (!IsDigits(text, false)) return std::nullopt;
  std::int64_t magnitude = 0;
  for (char c : text) {
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > 0x80000000LL) return std::nullopt;
  }
  std::int64_t value = negative ? -magnitude : magnitude;
  if (value > 0x7FFFFFFFLL) return std::nullopt;
  return ColourValue(std::uint32_t(std::int32_t(value)));
}

}  // namespace

std::string ColourToText(ColourValue c) {
  for (const ColourName& entry : kNames)
    if (entry.value == c) return std::string(entry.name);
  char text[10];
  std::snprintf(text, sizeof text, "$%08X", unsigned(c));
  return text;
}

std::optional<ColourValue> ColourFromText(std::string_view text) {
  for (const ColourName& entry : kNames)
    if (SameIgnoringCase(entry.name, text)) return entry.value;
  if (!text.empty() && text[0] == '$') return ReadHex(text.substr(1));
  return ReadDecimal(text);
}

}  // namespace inkra
