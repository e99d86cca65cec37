#pragma once
// Ink as colour plus coverage, the size of the board. Dry ink is what earlier strokes, stamps
// and seals left; wet ink is the stroke being drawn, kept apart until the pen is lifted so that
// the stroke's pieces add up to the coverage of their union (a pixel shared by two steps of
// one stroke is not inked twice). Ink leaves the layer in two ways: as straight-alpha RGBA
// (colour plus alpha over a transparent white background, for a PNG), or laid over an opaque
// picture, anti-aliased or thresholded.
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <cstdint>
#include <vector>

#include "Coverage.h"
#include "InkGeometry.h"
#include "Png.h"

namespace inkra::ink {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// One pixel of ink: colour and coverage (0: none, 255: full).
struct InkPixel {
  Rgb colour{255, 255, 255};
  std::uint8_t coverage = 0;
  friend bool operator==(const InkPixel&, const InkPixel&) = default;
};

class InkLayer {
 public:
  // No ink anywhere. Throws PictureError for a size beyond the picture limits.
  InkLayer(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rect Bounds() const { return {0, 0, width_, height_}; }

  // From now on ink lands only inside `clip` (Bounds() for the whole layer again): undo draws
  // part of the ink again this way. Coverage is worked out exactly as without it, so every pixel
  // inside comes out as it did when the shape was drawn whole.
  void ClipTo(const Rect& clip) { clip_ = clip.Intersect(Bounds()); }
  const Rect& Clip() const { return clip_; }

  // Shapes painted at once onto the dry ink. The parts must not overlap one another: in a pixel
  // shared by two parts each takes its own share, so their coverages add up (two separate
  // paintings would leave a seam where the second is laid over the first's edge). A part of no
  // colour is paper: it takes the ink under it away. Returns the pixels changed.
  // A part `under` the ones after it may hold them (a text's cell and its glyphs): in each pixel
  // it takes only the share they leave, which is what cutting them out of it first gives, but
  // for rounding where the edges of both cross one pixel.
  struct Part {
    const Outline* outline = nullptr;  // not owned
    std::optional<Rgb> colour;         // none: paper
    bool under = false;
  };
  Rect Paint(std::span<const Part> parts);
  // One part: ink of `colour`, or paper.
  Rect Fill(const Outline& outline, Rgb colour) { return Paint(std::array{Part{&outline, colour}}); }
  Rect Erase(const Outline& outline) { return Paint(std::array{Part{&outline, std::nullopt}}); }

  // Starts wet ink of this colour (any earlier wet ink is dried first).
  void BeginWet(Rgb colour);
  // Inside `clip`, the wet coverage becomes the coverage of `outline` where that is more (the
  // outline holds all of the stroke that reaches into `clip`, so it is never less unless part of
  // the stroke was left out of it). Returns the pixels changed.
  Rect SetWet(const Outline& outline, const Rect& clip);
  // Lays the wet ink over the dry ink; returns the pixels changed.
  Rect Dry();
  bool Wet() const { return !wetBox_.Empty(); }
  // Dries the wet ink and gives back the memory it took (a byte a pixel): a layer drawn once,
  // at print scale, is then only read.
  void ReleaseWet() {
    Dry();
    wet_.reset();
    wetTop_ = wetBottom_ = 0;
  }

  // The ink a pixel shows: wet over dry.
  InkPixel At(int x, int y) const;

  // The dry ink as straight-alpha RGBA rows (wet ink is dried first): pixels without ink are
  // transparent white (255, 255, 255, 0). The rows stay valid until the layer changes.
  PngRows Rgba();

  // The dry ink's own bytes (R, G, B, coverage per pixel, 32 bits), wet ink left apart: what a
  // history of the board copies and puts back. Nothing about the wet ink changes.
  // Written through, the dry ink may change anywhere.
  PixelRows DryPixels() {
    inked_ = Bounds();
    return {dry_.get(), std::size_t(width_) * 4, width_, height_, 32};
  }
  ConstPixelRows DryPixels() const { return {dry_.get(), std::size_t(width_) * 4, width_, height_, 32}; }
  // The dry ink as Rgba gives it, wet ink left out: what a writer sees once the stroke has ended.
  PngRows DryRgba() const { return {dry_.get(), std::size_t(width_) * 4, width_, height_, 4}; }
  // Where the dry ink may lie: outside it every pixel is still the transparent white the layer
  // was made with, so a writer passes those rows without looking at them.
  const Rect& Inked() const { return inked_; }

  // The ink (wet over dry) over an opaque picture of the layer's size, 24 or 32 bits per pixel
  // (a 32-bit pixel's fourth byte is left alone), inside `area`:
  // anti-aliased, or thresholded: a pixel takes the ink's colour where its coverage is at least
  // half (128 of 255) and stays as it is otherwise, so no pale fringe is left for a host that
  // keys out white.
  void CompositeOnto(const PixelRows& picture, const Rect& area) const;
  void ThresholdOnto(const PixelRows& picture, const Rect& area) const;
  // The same onto rows that hold only part of the picture, from its pixel (left, top) on; `area`
  // lies inside them.
  void CompositeOnto(const PixelRows& part, int left, int top, const Rect& area) const;

  static constexpr std::uint8_t kThreshold = 128;

 private:
  std::uint8_t* DryPixel(int x, int y) { return dry_.get() + (std::size_t(y) * width_ + x) * 4; }
  const std::uint8_t* DryPixel(int x, int y) const { return dry_.get() + (std::size_t(y) * width_ + x) * 4; }
  void ClearWetRows(int top, int bottom);  // rows [top, bottom) of wet_ zero from now on
  // Part i's share of pixel `at` in Paint's coverages (each part's `area` long).
  unsigned Share(std::span<const Part> parts, std::size_t area, std::size_t at, std::size_t i) const;
  // One pixel `p` of dry ink under Paint's parts.
  void PaintPixel(std::span<const Part> parts, std::size_t area, std::size_t at, std::uint8_t* p) const;
  template <class Blend>
  void OverPicture(const PixelRows& part, int left, int top, const Rect& area, Blend blend) const;

  int width_ = 0, height_ = 0;
  std::unique_ptr<std::uint8_t[]> dry_;  // RGBA, straight alpha, width_ x height_
  // Coverage of the stroke in progress, allocated on first use and cleared only in the rows
  // strokes reach, [wetTop_, wetBottom_): at print scale most rows never see a stroke.
  std::unique_ptr<std::uint8_t[]> wet_;
  int wetTop_ = 0, wetBottom_ = 0;
  Rgb wetColour_;
  Rect wetBox_;                 // where wet_ may be non-zero
  Rect clip_;                   // where drawing lands
  Rect inked_;                  // where the dry ink has changed since the layer was made
  CoverageRasterizer rasterizer_;
  std::vector<std::uint8_t> parts_;  // Paint's coverage of each part over its box
  struct Reach {
    int from, to;
  };
  std::vector<Reach> rowReach_;  // Paint's columns with coverage, row by row
};

// Source-over of `colour` at coverage `cover` onto a straight-alpha pixel, in 8-bit steps.
InkPixel Over(const InkPixel& below, Rgb colour, std::uint8_t cover);

}  // namespace inkra::ink
