#pragma once
// Shared by the ink tests: the flat nib's band worked out independently of the product (as the
// intersection of its supporting half-planes), its exact area in each pixel, and readings of a
// layer's coverage.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "InkCanvas.h"
#include "InkLayer.h"
#include "InkPen.h"

namespace inkra::ink::testing {

struct HalfPlane {
  double nx, ny, limit;  // n . p <= limit
};

// The band swept by the nib of reach w from (ax, ay) to (bx, by): a convex set whose edges are
// the nib's six edges and the two sides along the drag. For each edge normal n its limit is the
// nib's support in n plus the drag's, when the drag goes that way.
inline std::vector<HalfPlane> Band(double ax, double ay, double bx, double by, double w) {
  const std::array<std::array<double, 2>, 6> hexagon{{{0, 0}, {1, 0}, {w + 1, w}, {w + 1, w + 1}, {w, w + 1}, {0, 1}}};
  std::vector<std::array<double, 2>> normals{{0, -1}, {1, -1}, {1, 0}, {0, 1}, {-1, 1}, {-1, 0}};
  const double dx = bx - ax, dy = by - ay;
  if (dx != 0 || dy != 0) normals.push_back({-dy, dx}), normals.push_back({dy, -dx});
  std::vector<HalfPlane> planes;
  for (const auto& n : normals) {
    double support = -1e300;
    for (const auto& h : hexagon) support = std::max(support, n[0] * (ax + h[0]) + n[1] * (ay + h[1]));
    planes.push_back({n[0], n[1], support + std::max(0.0, n[0] * dx + n[1] * dy)});
  }
  return planes;
}

// Area of the convex region inside pixel (x, y) (Sutherland-Hodgman, then the shoelace).
inline double AreaInPixel(const std::vector<HalfPlane>& region, int x, int y) {
  std::vector<std::array<double, 2>> poly{{double(x), double(y)}, {x + 1.0, double(y)}, {x + 1.0, y + 1.0}, {double(x), y + 1.0}};
  for (const HalfPlane& h : region) {
    std::vector<std::array<double, 2>> next;
    for (std::size_t i = 0; i < poly.size(); ++i) {
      const auto& p = poly[i];
      const auto& q = poly[(i + 1) % poly.size()];
      const double fp = h.nx * p[0] + h.ny * p[1] - h.limit, fq = h.nx * q[0] + h.ny * q[1] - h.limit;
      if (fp <= 0) next.push_back(p);
      if ((fp < 0 && fq > 0) || (fp > 0 && fq < 0)) {
        const double t = fp / (fp - fq);
        next.push_back({p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])});
      }
    }
    poly.swap(next);
    if (poly.empty()) return 0;
  }
  double twice = 0;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const auto& p = poly[i];
    const auto& q = poly[(i + 1) % poly.size()];
    twice += p[0] * q[1] - q[0] * p[1];
  }
  return std::abs(twice) / 2;
}

// The largest difference, in 255ths, between the layer's coverage and the exact area of
// `region` over the whole layer.
inline int WorstCoverageError(const InkLayer& layer, const std::vector<HalfPlane>& region) {
  int worst = 0;
  for (int y = 0; y < layer.Height(); ++y)
    for (int x = 0; x < layer.Width(); ++x) {
      const int expected = int(std::lround(AreaInPixel(region, x, y) * 255));
      worst = std::max(worst, std::abs(int(layer.At(x, y).coverage) - expected));
    }
  return worst;
}

// The ink in one column, in pixels (coverage summed).
inline double ColumnInk(const InkLayer& layer, int x) {
  double sum = 0;
  for (int y = 0; y < layer.Height(); ++y) sum += layer.At(x, y).coverage / 255.0;
  return sum;
}

inline int InkedPixels(const InkLayer& layer) {
  int n = 0;
  for (int y = 0; y < layer.Height(); ++y)
    for (int x = 0; x < layer.Width(); ++x) n += layer.At(x, y).coverage != 0;
  return n;
}

// A whole stroke through `samples`: press at the first, a move to each of the others, release.
inline Rect DrawStroke(InkLayer& layer, const std::vector<InkSample>& samples, double width, Rgb colour = {200, 0, 0}) {
  InkPen pen;
  pen.Down(layer, samples.front(), width, colour);
  Rect changed;
  for (std::size_t i = 1; i < samples.size(); ++i) changed = changed.Union(pen.Move(samples[i]));
  return changed.Union(pen.Up());
}

// Text without a font engine: every character is a box of sizePoints x 2 sizePoints pixels
// whose inner half is the glyph (upright text only), and the calls are counted.
class BoxGlyphs final : public GlyphSource {
 public:
  // Turned by the font's escapement about (x, y), as TextOut turns text.
  TextShape Shape(const Font& font, int x, int y, const std::string& text) override {
    ++calls;
    const double w = font.sizePoints, h = 2.0 * font.sizePoints;
    const double angle = font.escapement * std::numbers::pi / 1800, c = std::cos(angle), s = std::sin(angle);
    const auto at = [&](double u, double v) { return Vec2{x + u * c + v * s, y - u * s + v * c}; };
    const auto grid = [&](double u, double v) { return ToGrid(at(u, v).x, at(u, v).y); };
    TextShape shape;
    const double n = double(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
      const double left = w * double(i) + w / 4, top = h / 4;
      shape.glyphs.push_back({grid(left, top), grid(left + w / 2, top), grid(left + w / 2, top + h / 2), grid(left, top + h / 2)});
    }
    shape.cell = {at(0, 0), at(w * n, 0), at(w * n, h), at(0, h)};
    return shape;
  }
  int calls = 0;
};

inline double TotalInk(const InkLayer& layer) {
  double sum = 0;
  for (int y = 0; y < layer.Height(); ++y)
    for (int x = 0; x < layer.Width(); ++x) sum += layer.At(x, y).coverage / 255.0;
  return sum;
}

}  // namespace inkra::ink::testing
