#pragma once
// The drawing surface of a bitmap board picture and the factory that makes one. The Windows
// shell backs it with a DIB section; the tests with a recording canvas.
#include <algorithm>
#include <memory>

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
  friend bool operator==(const Rect&, const Rect&) = default;
};

class Surface : public Canvas {
 public:
  // The pixels as they stand, at the surface's own depth.
  virtual Bitmap ToBitmap() const = 0;
  // The pixels as a BMP file; a surface that holds its rows as a Bitmap lays them out writes
  // them from where they lie.
  virtual void WriteBmp(ByteSink& sink) const { inkra::WriteBmp(ToBitmap(), sink); }
};

class SurfaceFactory {
 public:
  virtual ~SurfaceFactory() = default;
  // A white bitmap at the display's depth.
  virtual std::unique_ptr<Surface> NewWhite(int width, int height) = 0;
  // A bitmap at the display's depth whose pixels the caller overwrites at once (a scan drawn
  // into it): nothing needs to make it white first.
  virtual std::unique_ptr<Surface> NewBlank(int width, int height) { return NewWhite(width, height); }
  // A surface holding these pixels, at the bitmap's own depth.
  virtual std::unique_ptr<Surface> FromBitmap(const Bitmap& bitmap) = 0;
};

}  // namespace inkra::board
