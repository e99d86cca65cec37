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

constexpr ColourValue clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000,
                      clOlive = 0x008080, clNavy = 0x800000, clPurple = 0x800080,
                      clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0,
                      clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                      clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
                      clWhite = 0xFFFFFF;
constexpr ColourValue clWindow = kSystemColourBit + 5;
constexpr ColourValue clWindowText = kSystemColourBit + 8;
constexpr ColourValue clBtnFace = kSystemColourBit + 15;
// Not colours but markers: "the surface's own default" and "nothing".
constexpr ColourValue clDefault = 0x20000000, clNone = 0x1FFFFFFF;

// The colour text form kept in the registry: one of the 52 names, or "$" and 8 capital hex digits.
std::string ColourToText(ColourValue c);
// Names are matched without regard to case; other text is a decimal number or "$" hexadecimal.
std::optional<ColourValue> ColourFromText(std::string_view text);

}  // namespace inkra
