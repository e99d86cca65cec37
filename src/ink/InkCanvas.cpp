#include "InkCanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "CentreLine.h"

namespace inkra::ink {

OutlinePath EllipsePath(double x1, double y1, double x2, double y2) {
  const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2, a = std::abs(x2 - x1) / 2, b = std::abs(y2 - y1) / 2;
  const double r = std::max(a, b);
  if (r <= 0) return {};
  // A chord of angle t stays within r (1 - cos(t / 2)) of the arc.
  const double step = r <= kFlatness ? std::numbers::pi / 2 : 2 * std::acos(1 - kFlatness / r);
  const int n = std::clamp(int(std::ceil(2 * std::numbers::pi / step)), 8, 4096);
  // Corners a little outside the curve, so that the chords cut as much area off as they add
  // and the polygon's area is the ellipse's.
  const double grow = std::sqrt(2 * std::numbers::pi / (n * std::sin(2 * std::numbers::pi / n)));
  OutlinePath path;
  path.reserve(std::size_t(n));
  for (int i = 0; i < n; ++i) {
    const double t = 2 * std::numbers::pi * i / n;
    path.push_back(ToGrid(cx + a * grow * std::cos(t), cy + b * grow * std::sin(t)));
  }
  return path;
}

InkCanvas::Paint InkCanvas::Resolve(ColourValue c, ColourValue fallback) const {
  if (c == clNone) return {};
  if (c == clDefault) c = fallback;
  if (IsSystemColour(c)) {
    if (!systemColours_) throw std::invalid_argument("a system colour with no way to resolve it");
    c = systemColours_(SystemColourIndex(c));
  }
  const Rgb rgb{std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)};
  if (rgb == Rgb{255, 255, 255}) return {true, std::nullopt};
  return {true, rgb};
}

void InkCanvas::PaintPair(const Outline& under, ColourValue underColour, ColourValue underFallback, const Outline& over,
                          ColourValue overColour, ColourValue overFallback, bool overInside) {
  const Paint top = Resolve(overColour, overFallback), bottom = Resolve(underColour, underFallback);
  const bool laid = overInside && glyphsOnCells_ && bottom.draws && top.draws;
  Outline uncovered;
  if (bottom.draws && !laid) {
    ClipperLib::Clipper clipper;
    clipper.AddPaths(under, ClipperLib::ptSubject, true);
    if (top.draws) clipper.AddPaths(over, ClipperLib::ptClip, true);
    clipper.Execute(ClipperLib::ctDifference, uncovered, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  }
  std::vector<InkLayer::Part> parts;
  if (bottom.draws) parts.push_back({laid ? &under : &uncovered, bottom.ink, laid});
  if (top.draws) parts.push_back({&over, top.ink});
  changed_ = changed_.Union(layer_.Paint(parts));
  if (log_) log_(parts);
}

void InkCanvas::Polygon(std::span<const Point> points) {
  if (points.empty()) return;
  // The inside by GDI's alternate rule, through the pixel centres.
  OutlinePath centres;
  for (const Point& p : points) centres.push_back(ToGrid(p.x + 0.5, p.y + 0.5));
  Outline inside;
  ClipperLib::SimplifyPolygon(centres, inside, ClipperLib::pftEvenOdd);
  // The pen: the pixel square carried along each edge, the edges joined into one outline.
  Outline bands, pen;
  std::vector<NibPoint> corners;
  for (const Point& p : points) corners.push_back({double(p.x), double(p.y), 0});
  corners.push_back(corners.front());
  SweepBands(corners, bands);
  ClipperLib::SimplifyPolygons(bands, pen, ClipperLib::pftNonZero);
  PaintPair(inside, brush_, clWhite, pen, pen_, clBlack);
}

void InkCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  OutlinePath outer = EllipsePath(x1, y1, x2, y2);
  OutlinePath inner = x2 - x1 > 2 && y2 - y1 > 2 ? EllipsePath(x1 + 1, y1 + 1, x2 - 1, y2 - 1) : OutlinePath{};
  Outline ring{outer};
  if (!inner.empty()) {
    ring.push_back(inner);
    std::reverse(ring.back().begin(), ring.back().end());  // turned the other way round: a hole
  }
  PaintPair({inner}, brush_, clWhite, ring, pen_, clBlack);
}

void InkCanvas::SetPixel(int x, int y, ColourValue c) {
  PaintPair({}, clNone, clNone, {{ToGrid(x, y), ToGrid(x + 1, y), ToGrid(x + 1, y + 1), ToGrid(x, y + 1)}}, c, clBlack);
}

bool InkCanvas::RepeatText(int x, int y, const std::string& text) {
  if (layer_.Wet()) return false;
  const auto same = [&](const PaintedText& t) {
    return t.x == x && t.y == y && t.brush == brush_ && t.font == font_ && t.text == text;
  };
  const auto found = std::find_if(lastTexts_.begin(), lastTexts_.end(), same);
  if (found == lastTexts_.end()) return false;
  const PaintedText* last = &*found;
  const PixelRows dry = layer_.DryPixels();
  const std::size_t row = std::size_t(last->cell.right - last->cell.left) * 4;
  for (int y2 = last->cell.top; y2 < last->cell.bottom; ++y2)
    std::memcpy(dry.Row(y2) + std::size_t(last->cell.left) * 4, &last->pixels[std::size_t(y2 - last->cell.top) * row], row);
  changed_ = changed_.Union(last->changed);
  return true;
}

void InkCanvas::KeepText(int x, int y, const std::string& text, const Rect& cell, const Rect& glyphs, const Rect& changed) {
  // Only a cell that holds all the glyphs' pixels is wholly what the painting made.
  const Rect kept = cell.Intersect(layer_.Bounds());
  if (kept.Empty() || layer_.Wet() || !(glyphs.Intersect(layer_.Bounds()).Union(kept) == kept)) return;
  PaintedText painted{font_, brush_, x, y, text, kept, changed, {}};
  const ConstPixelRows dry = std::as_const(layer_).DryPixels();
  const std::size_t row = std::size_t(kept.right - kept.left) * 4;
  for (int y2 = kept.top; y2 < kept.bottom; ++y2) {
    const std::uint8_t* from = dry.Row(y2) + std::size_t(kept.left) * 4;
    painted.pixels.insert(painted.pixels.end(), from, from + row);
  }
  if (lastTexts_.size() == kTextsKept) lastTexts_.erase(lastTexts_.begin());
  lastTexts_.push_back(std::move(painted));
}

void InkCanvas::TextOut(int x, int y, const std::string& text) {
  if (text.empty()) return;
  if (!glyphs_) throw std::logic_error("text on an ink canvas needs a glyph source");
  if (RepeatText(x, y, text)) return;
  const GlyphSource::TextShape shape = glyphs_->Shape(font_, x, y, text);
  OutlinePath cell;
  for (const Vec2& corner : shape.cell) cell.push_back(ToGrid(corner.x, corner.y));
  // An upright cell of whole pixels: every pixel is wholly in it or wholly out of it, so painting
  // the cell and then the glyphs over it gives what painting the two as disjoint parts gives,
  // without cutting the glyphs out of the cell first (which costs ten times the painting, and a
  // seal redraws its sub-texts after every character).
  const auto whole = [](double v) { return v == std::floor(v); };
  const bool upright = shape.cell[0].y == shape.cell[1].y && shape.cell[1].x == shape.cell[2].x &&
                       shape.cell[2].y == shape.cell[3].y && shape.cell[3].x == shape.cell[0].x &&
                       whole(shape.cell[0].x) && whole(shape.cell[0].y) && whole(shape.cell[2].x) && whole(shape.cell[2].y);
  if (upright && brush_ != clNone) {
    const Rect before = changed_;
    changed_ = {};
    PaintPair({}, clNone, clNone, {cell}, brush_, clWhite);
    PaintPair({}, clNone, clNone, shape.glyphs, font_.colour, clWindowText);
    const Rect painted = changed_;
    changed_ = before.Union(painted);
    KeepText(x, y, text, {int(shape.cell[0].x), int(shape.cell[0].y), int(shape.cell[2].x), int(shape.cell[2].y)},
             PixelBounds(shape.glyphs), painted);
    return;
  }
  PaintPair({cell}, brush_, clWhite, shape.glyphs, font_.colour, clWindowText, true);
}

}  // namespace inkra::ink
