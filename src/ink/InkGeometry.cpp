#include "InkGeometry.h"

#include <climits>

namespace inkra::ink {

Rect PixelBounds(const Outline& outline) {
  bool any = false;
  ClipperLib::IntPoint low, high;
  for (const OutlinePath& path : outline)
    for (const ClipperLib::IntPoint& p : path) {
      if (!any) low = high = p, any = true;
      low = {std::min(low.X, p.X), std::min(low.Y, p.Y)};
      high = {std::max(high.X, p.X), std::max(high.Y, p.Y)};
    }
  return any ? GridBounds(low, high) : Rect{};
}

Rect GridBounds(const ClipperLib::IntPoint& low, const ClipperLib::IntPoint& high) {
  const auto down = [](ClipperLib::cInt v) {
    return int(std::clamp<ClipperLib::cInt>(v >= 0 ? v / kSubpixels : -((-v + kSubpixels - 1) / kSubpixels), INT_MIN / 2, INT_MAX / 2));
  };
  const auto up = [&](ClipperLib::cInt v) { return -down(-v); };
  return {down(low.X), down(low.Y), up(high.X), up(high.Y)};
}

namespace {

// One side of the box: the points with `coordinate` (X or Y) on the kept side of `limit`.
struct Side {
  bool vertical;  // a limit on X
  ClipperLib::cInt limit;
  bool keepBelow;  // keep coordinates up to the limit, or from it on
  ClipperLib::cInt Of(const ClipperLib::IntPoint& p) const { return vertical ? p.X : p.Y; }
  bool Keeps(const ClipperLib::IntPoint& p) const { return keepBelow ? Of(p) <= limit : Of(p) >= limit; }
  // Where a -> b crosses the limit, the other coordinate rounded to the grid. In 80-bit long
  // double the product of two grid distances is exact, so every build rounds alike.
  ClipperLib::IntPoint Crossing(const ClipperLib::IntPoint& a, const ClipperLib::IntPoint& b) const {
    const ClipperLib::cInt a0 = Of(a), b0 = Of(b);
    const ClipperLib::cInt a1 = vertical ? a.Y : a.X, b1 = vertical ? b.Y : b.X;
    const long double t = (long double)(limit - a0) * (long double)(b1 - a1) / (long double)(b0 - a0);
    const ClipperLib::cInt other = a1 + ClipperLib::cInt(std::llroundl(t));
    return vertical ? ClipperLib::IntPoint{limit, other} : ClipperLib::IntPoint{other, limit};
  }
};

void ClipPath(const OutlinePath& in, const Side& side, OutlinePath& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size(); ++i) {
    const ClipperLib::IntPoint& a = in[i == 0 ? in.size() - 1 : i - 1];
    const ClipperLib::IntPoint& b = in[i];
    const bool keepA = side.Keeps(a), keepB = side.Keeps(b);
    if (keepA != keepB) out.push_back(side.Crossing(a, b));
    if (keepB) out.push_back(b);
  }
}

}  // namespace

void ClipToBox(const Outline& outline, const Rect& box, Outline& out) {
  const Side sides[] = {{true, ClipperLib::cInt(box.left) * kSubpixels, false},
                        {true, ClipperLib::cInt(box.right) * kSubpixels, true},
                        {false, ClipperLib::cInt(box.top) * kSubpixels, false},
                        {false, ClipperLib::cInt(box.bottom) * kSubpixels, true}};
  // Each path is clipped back and forth between the slot it goes to and the one after it.
  std::size_t kept = 0;
  for (const OutlinePath& path : outline) {
    if (path.size() < 3) continue;
    if (out.size() < kept + 2) out.resize(kept + 2);
    OutlinePath &a = out[kept], &b = out[kept + 1];
    a = path;
    for (const Side& side : sides) {
      ClipPath(a, side, b);
      a.swap(b);
      if (a.size() < 3) break;
    }
    if (a.size() >= 3) ++kept;
  }
  for (std::size_t i = kept; i < out.size(); ++i) out[i].clear();
}

}  // namespace inkra::ink
