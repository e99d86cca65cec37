#include "Coverage.h"

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

}  // namespace inkra::ink
