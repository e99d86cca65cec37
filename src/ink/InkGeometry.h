#pragma once
// The geometry the ink model works in: outlines as polygons with corners on a 1/256-pixel grid
// (the grid AGG's rasterizer computes areas on, so nothing is rounded between the polygon
// union and the rasterizer), and boxes of whole pixels.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include <clipper.hpp>

#include "PixelRows.h"

namespace inkra::ink {

constexpr int kSubpixels = 256;  // grid steps per pixel

// A polygon set, filled by the non-zero rule. Pixel (x, y) is the square [x, x+1] x [y, y+1].
using Outline = ClipperLib::Paths;
using OutlinePath = ClipperLib::Path;

inline ClipperLib::IntPoint ToGrid(double x, double y) {
  return {ClipperLib::cInt(std::llround(x * kSubpixels)), ClipperLib::cInt(std::llround(y * kSubpixels))};
}


// The whole pixels an outline reaches (empty for an empty outline). Coordinates beyond the int
// range are clamped: such pixels lie off every layer anyway.
Rect PixelBounds(const Outline& outline);

}  // namespace inkra::ink
