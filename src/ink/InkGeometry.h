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
// The whole pixels from grid point `low` to grid point `high`.
Rect GridBounds(const ClipperLib::IntPoint& low, const ClipperLib::IntPoint& high);

// The part of an outline inside a box of whole pixels (Sutherland-Hodgman, side by side). A
// polygon that leaves the box and comes back keeps a seam of no width along the box's edge,
// which fills nothing. Inside the box the outline stays as it was but for the crossings, which
// the grid moves by at most half a step along the box's edge (a pixel's edge): well under 1/255
// of any pixel's coverage. Paths of `out` past the clipped ones are left empty, their memory kept.
void ClipToBox(const Outline& outline, const Rect& box, Outline& out);

}  // namespace inkra::ink
