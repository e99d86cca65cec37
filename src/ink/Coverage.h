#pragma once
// Exact-area coverage of an outline, by AGG's scanline rasterizer: each pixel's coverage is the
// area of the outline inside it (non-zero rule), in 1/255ths, computed on the 1/256-pixel grid.
#include <cstdint>
#include <memory>
#include <type_traits>

#include "InkGeometry.h"

namespace inkra::ink {

class CoverageRasterizer {
 public:
  CoverageRasterizer();
  ~CoverageRasterizer();
  CoverageRasterizer(const CoverageRasterizer&) = delete;
  CoverageRasterizer& operator=(const CoverageRasterizer&) = delete;
  CoverageRasterizer(CoverageRasterizer&&) noexcept;
  CoverageRasterizer& operator=(CoverageRasterizer&&) noexcept;

  // Called for each run of pixels with some coverage: row y, pixels x .. x+count-1, their
  // coverages (1..255). Only pixels inside `clip` are reported. A reference to the caller's
  // function, valid for the call: a stroke rasterizes at every step, and nothing is allocated.
  class Span {
   public:
    template <class F>
    Span(F&& f)  // NOLINT: made from the caller's lambda
        : fn_(&f), call_([](void* fn, int y, int x, int count, const std::uint8_t* covers) {
            (*static_cast<std::remove_reference_t<F>*>(fn))(y, x, count, covers);
          }) {}
    void operator()(int y, int x, int count, const std::uint8_t* covers) const { call_(fn_, y, x, count, covers); }

   private:
    void* fn_;
    void (*call_)(void*, int, int, int, const std::uint8_t*);
  };
  void Rasterize(const Outline& outline, const Rect& clip, const Span& span);

 private:
  struct Agg;
  std::unique_ptr<Agg> agg_;  // keeps its cell blocks from one call to the next
};

}  // namespace inkra::ink
