#pragma once
// What a real impression shows, laid over a seal's ink: uneven ink in small patches, a few worn
// spots and a slightly rough edge. Deterministic: the same seed and dpi give the same picture,
// as the same seal gives the same impression.
#include <cstdint>
#include <string_view>

#include "InkLayer.h"

namespace inkra {

// A seed from the seal's parameters (their stored text form).
std::uint32_t StampSeed(std::string_view parameters);

// Lowers the ink's coverage where a real stamp leaves less: patches between about 70 % and
// 100 %, worn spots and a rough edge. Sizes follow `dpi`, so the look is the same on paper.
void ApplyStampLook(ink::InkLayer& layer, std::uint32_t seed, int dpi);

}  // namespace inkra
