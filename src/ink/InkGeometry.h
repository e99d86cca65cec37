#pragma once
// The geometry the ink model works in: outlines as polygons with corners on a 1/256-pixel grid
// (the grid AGG's rasterizer computes areas on, so nothing is rounded between the polygon
// union and the rasterizer), and boxes of whole pixels.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include <clipper.hpp>

namespace inkra::ink {

constexpr int kSubpixels = 256;  // grid steps per pixel

// A polygon set, filled by the non-zero rule. Pixel (x, y) is the square [x, x+1] x [y, y+1].
using Outline = ClipperLib::Paths;
using OutlinePath = ClipperLib::Path;

inline ClipperLib::IntPoint ToGrid(double x, double y) {
  return {ClipperLib::cInt(std::llround(x * kSubpixels)), ClipperLib::cInt(std::llround(y * kSubpixels))};
}

// Whole pixels: left and top included, right and bottom excluded.
struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  PixelBox Union(const PixelBox& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  }
  PixelBox Intersect(const PixelBox& o) const {
    PixelBox r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    return r.Empty() ? PixelBox{} : r;
  }
  friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// The whole pixels an outline reaches (empty for an empty outline). Coordinates beyond the int
// range are clamped: such pixels lie off every layer anyway.
PixelBox PixelBounds(const Outline& outline);

}  // namespace inkra::ink
