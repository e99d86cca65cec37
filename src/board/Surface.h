#pragma once
// The drawing surface of a bitmap board picture and the factory that makes one. The Windows
// shell backs it with a DIB section; the tests with a recording canvas.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "Bitmap.h"
#include "Bmp.h"
#include "Canvas.h"

namespace inkra::board {

// Left/top inclusive, right/bottom exclusive, in view (= picture) pixels.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  Rect Union(const Rect& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  }
  Rect Intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    return r.Empty() ? Rect{} : r;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The surface's pixels where they live in memory: top-down rows of `stride` bytes at the
// surface's own depth, laid out as Bitmap's. Valid until the surface is destroyed.
struct PixelRows {
  std::uint8_t* bits = nullptr;
  std::size_t stride = 0;
  int width = 0, height = 0, bitsPerPixel = 0;
  std::uint8_t* Row(int y) const { return bits + std::size_t(y) * stride; }
  std::size_t Bytes() const { return stride * std::size_t(height); }
};

class Surface : public Canvas {
 public:
  // The pixels as they stand, at the surface's own depth.
  virtual Bitmap ToBitmap() const = 0;
  // Direct access for the undo history, which copies and swaps rectangles of pixels.
  virtual PixelRows Pixels() = 0;
  // The box TextOut fills for `text` at (x, y) in the current font (upright text).
  virtual Rect TextCell(int x, int y, const std::string& text) = 0;
  // The pixels as a BMP file; a surface that holds its rows as a Bitmap lays them out writes
  // them from where they lie.
  virtual void WriteBmp(ByteSink& sink) const { inkra::WriteBmp(ToBitmap(), sink); }
};

class SurfaceFactory {
 public:
  virtual ~SurfaceFactory() = default;
  // A white bitmap at the display's depth.
  virtual std::unique_ptr<Surface> NewWhite(int width, int height) = 0;
  // A bitmap whose pixels the caller overwrites at once (a scan drawn into it, a JPEG decoded
  // into its rows): nothing needs to make it white first. At the display's depth, or at
  // `bitsPerPixel` when that is given.
  static constexpr int kDisplayDepth = 0;
  virtual std::unique_ptr<Surface> NewBlank(int width, int height, int bitsPerPixel) {
    return bitsPerPixel == kDisplayDepth ? NewWhite(width, height) : FromBitmap(Bitmap(width, height, bitsPerPixel));
  }
  // A surface holding these pixels, at the bitmap's own depth.
  virtual std::unique_ptr<Surface> FromBitmap(const Bitmap& bitmap) = 0;
};

}  // namespace inkra::board
