#pragma once
// The board's drawing surface on Windows: a GdiCanvas (DIB section) that the view blits from.
#include <memory>

#include "GdiCanvas.h"
#include "Surface.h"

namespace inkra::board::win {

class GdiSurface final : public Surface {
 public:
  GdiSurface(int width, int height, int bitsPerPixel,
             inkra::win::GdiCanvas::Contents contents = inkra::win::GdiCanvas::Contents::White)
      : canvas_(width, height, bitsPerPixel, contents) {}
  explicit GdiSurface(const Bitmap& bitmap) : canvas_(bitmap) {}

  int Width() const override { return canvas_.Width(); }
  int Height() const override { return canvas_.Height(); }
  void SetPenColour(ColourValue c) override { canvas_.SetPenColour(c); }
  void SetBrushColour(ColourValue c) override { canvas_.SetBrushColour(c); }
  void SetFont(const Font& f) override { canvas_.SetFont(f); }
  void Polygon(std::span<const Point> points) override { canvas_.Polygon(points); }
  void Ellipse(int x1, int y1, int x2, int y2) override { canvas_.Ellipse(x1, y1, x2, y2); }
  void SetPixel(int x, int y, ColourValue c) override { canvas_.SetPixel(x, y, c); }
  void TextOut(int x, int y, const std::string& text) override { canvas_.TextOut(x, y, text); }
  Bitmap ToBitmap() const override { return canvas_.ToBitmap(); }
  PixelRows Pixels() override {
    return {canvas_.Bits(), Bitmap::StrideFor(canvas_.Width(), canvas_.BitsPerPixel()), canvas_.Width(),
            canvas_.Height(), canvas_.BitsPerPixel()};
  }
  ConstPixelRows Pixels() const override {
    return {canvas_.Bits(), Bitmap::StrideFor(canvas_.Width(), canvas_.BitsPerPixel()), canvas_.Width(),
            canvas_.Height(), canvas_.BitsPerPixel()};
  }
  Rect TextCell(int x, int y, const std::string& text) override {
    const SIZE cell = canvas_.TextExtent(text);
    return {x, y, x + cell.cx, y + cell.cy};
  }
  void WriteBmp(ByteSink& sink) const override { canvas_.WriteBmp(sink); }

  HDC Dc() const { return canvas_.Dc(); }
  void SetDpi(int dpi) { canvas_.SetDpi(dpi); }

 private:
  inkra::win::GdiCanvas canvas_;
};

// New bitmaps at the display's colour depth, as the toolkit's bitmaps are.
class GdiSurfaceFactory final : public SurfaceFactory {
 public:
  GdiSurfaceFactory();
  std::unique_ptr<Surface> NewWhite(int width, int height) override;
  std::unique_ptr<Surface> NewBlank(int width, int height, int bitsPerPixel) override;
  std::unique_ptr<Surface> FromBitmap(const Bitmap& bitmap) override;
  int DisplayDepth() const { return depth_; }
  // The dpi the board is shown at: new surfaces size their text for it.
  void SetDpi(int dpi) { dpi_ = dpi; }

 private:
  std::unique_ptr<Surface> Made(std::unique_ptr<GdiSurface> surface) const;
  int depth_ = 32;
  int dpi_ = 96;
};

}  // namespace inkra::board::win
