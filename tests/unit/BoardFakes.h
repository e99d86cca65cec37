#pragma once
// Test doubles of the board's platform: surfaces that record what is drawn on them.
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "Bitmap.h"
#include "RecordingCanvas.h"
#include "BoardTestJpeg.h"
#include "Surface.h"

namespace inkra::board::testing {

class RecordingSurface final : public Surface {
 public:
  explicit RecordingSurface(Bitmap pixels)
      : pixels_(std::move(pixels)), canvas_(pixels_.Width(), pixels_.Height()) {}

  int Width() const override { return canvas_.Width(); }
  int Height() const override { return canvas_.Height(); }
  void SetPenColour(ColourValue c) override { canvas_.SetPenColour(c); }
  void SetBrushColour(ColourValue c) override { canvas_.SetBrushColour(c); }
  void SetFont(const Font& f) override { canvas_.SetFont(f); }
  void Polygon(std::span<const Point> points) override { canvas_.Polygon(points); }
  void Ellipse(int x1, int y1, int x2, int y2) override { canvas_.Ellipse(x1, y1, x2, y2); }
  void SetPixel(int x, int y, ColourValue c) override { canvas_.SetPixel(x, y, c); }
  void TextOut(int x, int y, const std::string& text) override { canvas_.TextOut(x, y, text); }
  // The pixels it was made with: drawing is only recorded.
  Bitmap ToBitmap() const override { return pixels_; }

  RecordingCanvas& Recorder() { return canvas_; }

 private:
  Bitmap pixels_;
  RecordingCanvas canvas_;
};

class RecordingSurfaces final : public SurfaceFactory {
 public:
  std::unique_ptr<Surface> NewWhite(int width, int height) override {
    return Keep(std::make_unique<RecordingSurface>(Bitmap(width, height, 32)));
  }
  std::unique_ptr<Surface> FromBitmap(const Bitmap& bitmap) override {
    return Keep(std::make_unique<RecordingSurface>(bitmap));
  }
  // Every surface made so far, oldest first (owned by the board; valid while it holds them).
  std::vector<RecordingSurface*> made;
  RecordingSurface& Last() { return *made.back(); }

 private:
  std::unique_ptr<Surface> Keep(std::unique_ptr<RecordingSurface> s) {
    made.push_back(s.get());
    return s;
  }
};

}  // namespace inkra::board::testing
