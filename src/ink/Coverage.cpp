#include "Coverage.h"

#include <climits>

#include <agg_rasterizer_scanline_aa.h>
#include <agg_scanline_u.h>

namespace inkra::ink {

static_assert(kSubpixels == agg::poly_subpixel_scale, "outlines are drawn on AGG's own grid");

struct CoverageRasterizer::Agg {
  // The double clipper clips in floating point before AGG converts to its integer grid, so a
  // corner far off the layer cannot overflow that grid.
  agg::rasterizer_scanline_aa<agg::rasterizer_sl_clip_dbl> rasterizer;
  agg::scanline_u8 scanline;
};

namespace {

// AGG measures coverage in 256ths of a pixel (a whole pixel is 256, held at 255); the layer
// measures it in 255ths. Rescaled here, so a half-covered pixel is 128 and a nearly whole one 254.
struct To255ths {
  double operator()(double x) const { return x >= 1.0 ? 1.0 : x * 255.0 / 256.0; }
};

}  // namespace

CoverageRasterizer::CoverageRasterizer() : agg_(std::make_unique<Agg>()) { agg_->rasterizer.gamma(To255ths{}); }
CoverageRasterizer::~CoverageRasterizer() = default;
CoverageRasterizer::CoverageRasterizer(CoverageRasterizer&&) noexcept = default;
CoverageRasterizer& CoverageRasterizer::operator=(CoverageRasterizer&&) noexcept = default;

void CoverageRasterizer::Rasterize(const Outline& outline, const Rect& clip, const Span& span) {
  if (clip.Empty()) return;
  auto& ras = agg_->rasterizer;
  ras.reset();
  ras.filling_rule(agg::fill_non_zero);
  ras.clip_box(clip.left, clip.top, clip.right, clip.bottom);
  constexpr double kStep = 1.0 / kSubpixels;  // exact in binary, so AGG gets the grid back unchanged
  for (const OutlinePath& path : outline) {
    if (path.size() < 3) continue;
    ras.move_to_d(double(path[0].X) * kStep, double(path[0].Y) * kStep);
    for (std::size_t i = 1; i < path.size(); ++i) ras.line_to_d(double(path[i].X) * kStep, double(path[i].Y) * kStep);
    ras.close_polygon();
  }
  if (!ras.rewind_scanlines()) return;
  auto& sl = agg_->scanline;
  sl.reset(ras.min_x(), ras.max_x());
  while (ras.sweep_scanline(sl)) {
    const int y = sl.y();
    auto s = sl.begin();
    for (unsigned n = sl.num_spans(); n; --n, ++s) span(y, s->x, s->len, s->covers);
  }
}

Rect PixelBounds(const Outline& outline) {
  bool any = false;
  ClipperLib::cInt l = 0, t = 0, r = 0, b = 0;
  for (const OutlinePath& path : outline)
    for (const ClipperLib::IntPoint& p : path) {
      if (!any) l = r = p.X, t = b = p.Y, any = true;
      l = std::min(l, p.X), r = std::max(r, p.X), t = std::min(t, p.Y), b = std::max(b, p.Y);
    }
  if (!any) return {};
  const auto down = [](ClipperLib::cInt v) {
    return int(std::clamp<ClipperLib::cInt>(v >= 0 ? v / kSubpixels : -((-v + kSubpixels - 1) / kSubpixels), INT_MIN / 2, INT_MAX / 2));
  };
  const auto up = [&](ClipperLib::cInt v) { return -down(-v); };
  return {down(l), down(t), up(r), up(b)};
}

}  // namespace inkra::ink
