#include "ScaledCanvas.h"

#include <cstdint>
#include <vector>

namespace inkra {

int ScaledCanvas::Width() const { return int(std::int64_t(target_.Width()) * kDesignDpi / dpi_); }
int ScaledCanvas::Height() const { return int(std::int64_t(target_.Height()) * kDesignDpi / dpi_); }

void ScaledCanvas::SetPenColour(ColourValue c) {
  pen_ = c;
  target_.SetPenColour(c);
}

void ScaledCanvas::SetBrushColour(ColourValue c) {
  brush_ = c;
  target_.SetBrushColour(c);
}

void ScaledCanvas::Polygon(std::span<const Point> points) {
  if (Unscaled()) return target_.Polygon(points);
  std::vector<Point> scaled;
  scaled.reserve(points.size());
  for (const Point& p : points) scaled.push_back({Scale(p.x), Scale(p.y)});
  target_.Polygon(scaled);
}

void ScaledCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (Unscaled()) return target_.Ellipse(x1, y1, x2, y2);
  const int left = Scale(x1), top = Scale(y1), right = Scale(x2), bottom = Scale(y2);
  if (pen_ == brush_ || pen_ == clNone || brush_ == clNone) return target_.Ellipse(left, top, right, bottom);
  // The outline as wide as one 96-dpi pixel here: a disc in the pen's colour, then the inside
  // in the brush's colour, inset by that width.
  const int ring = Scale(1);
  target_.SetBrushColour(pen_);
  target_.Ellipse(left, top, right, bottom);
  target_.SetPenColour(brush_);
  target_.SetBrushColour(brush_);
  target_.Ellipse(left + ring, top + ring, right - ring, bottom - ring);
  target_.SetPenColour(pen_);
}

void ScaledCanvas::SetPixel(int x, int y, ColourValue c) {
  if (Unscaled()) return target_.SetPixel(x, y, c);
  for (int ty = Scale(y); ty < Scale(y + 1); ++ty)
    for (int tx = Scale(x); tx < Scale(x + 1); ++tx) target_.SetPixel(tx, ty, c);
}

void ScaledCanvas::TextOut(int x, int y, const std::string& text) {
  target_.TextOut(Scale(x), Scale(y), text);
}

}  // namespace inkra
