#pragma once
// The board's toolbar images: two BMP files (normal and disabled), each a strip of 24 x 24
// cells in button order, magenta where the button face shows through.
#include <cstdint>
#include <span>

namespace inkra::board::win {

inline constexpr int kToolbarImageSize = 24;
extern const std::span<const std::uint8_t> kToolbarBmp;
extern const std::span<const std::uint8_t> kToolbarDisabledBmp;

}  // namespace inkra::board::win
