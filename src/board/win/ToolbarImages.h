#pragma once
// The board's toolbar images: BMP files (normal and disabled), each a strip of square cells in
// button order, magenta where the button face shows through; at 24, 36 and 48 pixels a cell, for
// 100 %, 150 % and 200 % display scaling.
#include <cstdint>
#include <span>

namespace inkra::board::win {

inline constexpr int kToolbarImageSize = 24;  // at 96 dpi
extern const std::span<const std::uint8_t> kToolbarBmp;
extern const std::span<const std::uint8_t> kToolbarDisabledBmp;
extern const std::span<const std::uint8_t> kToolbar36Bmp;
extern const std::span<const std::uint8_t> kToolbarDisabled36Bmp;
extern const std::span<const std::uint8_t> kToolbar48Bmp;
extern const std::span<const std::uint8_t> kToolbarDisabled48Bmp;

struct ToolbarStrips {
  int cellSize;
  std::span<const std::uint8_t> normal, disabled;
};
// The largest strip whose cells fit `cellSize` pixels (the 24-pixel one when none does), so icons
// are never enlarged and blurred.
inline ToolbarStrips ToolbarStripsFor(int cellSize) {
  if (cellSize >= 48) return {48, kToolbar48Bmp, kToolbarDisabled48Bmp};
  if (cellSize >= 36) return {36, kToolbar36Bmp, kToolbarDisabled36Bmp};
  return {24, kToolbarBmp, kToolbarDisabledBmp};
}

}  // namespace inkra::board::win
