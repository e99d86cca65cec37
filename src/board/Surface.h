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
#include "PixelRows.h"

namespace inkra::board {

// Rectangles in view (= picture) pixels, and the surface's pixels at its own depth where they
// lie in memory (valid until the surface is destroyed): the types the ink model shares.
using inkra::ConstPixelRows;
using inkra::PixelRows;
using inkra::Rect;

class Surface : public Canvas {
 public:
  // The pixels as they stand, at the surface's own depth.
  virtual Bitmap ToBitmap() const = 0;
  // Direct access for the undo history, which copies and swaps rectangles of pixels.
  virtual PixelRows Pixels() = 0;
  // The same, to be read: what the view and the writers compose from.
  virtual ConstPixelRows Pixels() const = 0;
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
