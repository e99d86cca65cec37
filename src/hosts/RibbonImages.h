#pragma once
// The image of the add-in's large ribbon button: a 32 x 32 BMP file, 32 bits with alpha.
#include <cstdint>
#include <span>

namespace inkra::addin {

extern const std::span<const std::uint8_t> kRibbonButtonBmp;

}  // namespace inkra::addin
