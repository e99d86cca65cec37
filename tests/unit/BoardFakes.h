#pragma once
// Test doubles of the board's platform: surfaces that record what is drawn on them.
#include <cstdio>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "Bitmap.h"
#include "BoardTestJpeg.h"
#include "Colour.h"
#include "Errors.h"
#include "RecordingCanvas.h"
#include "Surface.h"

namespace inkra::board::testing {

// Records every call, and paints crudely into its pixels so changes can be checked on them: a
// polygon fills its bounding box and a text its cell, in the brush colour (24 and 32 bits, RGB
// colours only). A text cell is `sizePoints` pixels per character and twice that high.
class RecordingSurface final : public Surface {
 public:
  // `alive` (not owned), when given, counts the surfaces in existence.
  // `copyRefused` (not owned), when given and set, makes ToBitmap run out of memory.
  explicit RecordingSurface(Bitmap pixels, int* alive = nullptr, const bool* copyRefused = nullptr)
      : pixels_(std::move(pixels)), canvas_(pixels_.Width(), pixels_.Height()), alive_(alive),
        copyRefused_(copyRefused) {
    if (alive_) ++*alive_;
  }
  ~RecordingSurface() override {
    if (alive_) --*alive_;
  }
  RecordingSurface(const RecordingSurface&) = delete;
  RecordingSurface& operator=(const RecordingSurface&) = delete;

  int Width() const override { return canvas_.Width(); }
  int Height() const override { return canvas_.Height(); }
  void SetPenColour(ColourValue c) override { canvas_.SetPenColour(c); }
  void SetBrushColour(ColourValue c) override { canvas_.SetBrushColour(c); }
  void SetFont(const Font& f) override { canvas_.SetFont(f); }
  void Polygon(std::span<const Point> points) override {
    canvas_.Polygon(points);
    if (points.empty()) return;
    Rect box{points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (const Point& p : points) box = box.Union({p.x, p.y, p.x + 1, p.y + 1});
    Paint(box);
  }
  void Ellipse(int x1, int y1, int x2, int y2) override { canvas_.Ellipse(x1, y1, x2, y2); }
  void SetPixel(int x, int y, ColourValue c) override { canvas_.SetPixel(x, y, c); }
  void TextOut(int x, int y, const std::string& text) override {
    canvas_.TextOut(x, y, text);
    Paint(TextCell(x, y, text));
  }
  Bitmap ToBitmap() const override {
    if (copyRefused_ && *copyRefused_) throw std::bad_alloc();
    return pixels_;
  }
  PixelRows Pixels() override {
    return {pixels_.Pixels().data(), pixels_.Stride(), pixels_.Width(), pixels_.Height(), pixels_.BitsPerPixel()};
  }
  ConstPixelRows Pixels() const override {
    return {pixels_.Pixels().data(), pixels_.Stride(), pixels_.Width(), pixels_.Height(), pixels_.BitsPerPixel()};
  }
  Rect TextCell(int x, int y, const std::string& text) override {
    const int size = canvas_.CurrentFont().sizePoints;
    const auto chars = int(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    return {x, y, x + chars * size, y + 2 * size};
  }

  RecordingCanvas& Recorder() { return canvas_; }

 private:
  void Paint(const Rect& area) {
    const ColourValue c = canvas_.BrushColour();
    const int bytes = pixels_.BitsPerPixel() / 8;
    if ((bytes != 3 && bytes != 4) || IsSystemColour(c) || c == clNone || c == clDefault) return;
    const Rect r = area.Intersect({0, 0, pixels_.Width(), pixels_.Height()});
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        std::uint8_t* px = pixels_.Row(y) + std::size_t(x) * std::size_t(bytes);
        px[0] = std::uint8_t(c >> 16);
        px[1] = std::uint8_t(c >> 8);
        px[2] = std::uint8_t(c);
      }
    }
  }

  Bitmap pixels_;
  RecordingCanvas canvas_;
  int* alive_;
  const bool* copyRefused_;
};

class RecordingSurfaces final : public SurfaceFactory {
 public:
  std::unique_ptr<Surface> NewWhite(int width, int height) override {
    if (refuseNew) throw PictureError("Not enough memory for a picture of this size");
    return Keep(std::make_unique<RecordingSurface>(Bitmap(width, height, displayBits), &alive, &refuseCopy));
  }
  std::unique_ptr<Surface> FromBitmap(const Bitmap& bitmap) override {
    // As a DIB section the system will not give: the Windows surface reports it so.
    if (refuse) throw PictureError("Not enough memory for a picture of this size");
    return Keep(std::make_unique<RecordingSurface>(bitmap, &alive, &refuseCopy));
  }
  // Every surface made so far, oldest first (owned by the board; valid while it holds them).
  std::vector<RecordingSurface*> made;
  bool refuse = false;      // FromBitmap fails, as when memory runs out
  bool refuseNew = false;   // NewWhite fails, as when GDI handles are used up
  bool refuseCopy = false;  // copying a surface's pixels runs out of memory
  int displayBits = 32;     // the depth of NewWhite's paper, as the display's
  int alive = 0;  // surfaces made here that still exist; outlives them, as the board is made after
  RecordingSurface& Last() { return *made.back(); }

 private:
  std::unique_ptr<Surface> Keep(std::unique_ptr<RecordingSurface> s) {
    made.push_back(s.get());
    return s;
  }
};

}  // namespace inkra::board::testing
