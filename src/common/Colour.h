#pragma once
// A colour value as the board, the seals and the registry carry it:
// 0x00BBGGRR for an RGB colour (red in the low byte), 0x80000000 + n for system colour n.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace inkra {

using ColourValue = std::uint32_t;

constexpr ColourValue kSystemColourBit = 0x80000000u;
constexpr ColourValue RGB24(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return ColourValue(r) | (ColourValue(g) << 8) | (ColourValue(b) << 16);
}
constexpr bool IsSystemColour(ColourValue c) { return (c & 0xFF000000u) == kSystemColourBit; }
constexpr int SystemColourIndex(ColourValue c) { return int(c & 0xFFu); }

constexpr ColourValue clBlack = 0x000000, clRed = 0x0000FF, clWhite = 0xFFFFFF, clBlue = 0xFF0000;
constexpr ColourValue clWindowText = kSystemColourBit + 8;

// The colour text form kept in the registry: one of the 52 names, or "$" and 8 capital hex digits.
std::string ColourToText(ColourValue c);
// Names are matched without regard to case; other text is a decimal number or "$" hexadecimal.
std::optional<ColourValue> ColourFromText(std::string_view text);

}  // namespace inkra
