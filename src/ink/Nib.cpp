#include "Nib.h"

#include <algorithm>

namespace inkra::ink {

double NibWidthFor(double chosenWidth, float pressure) {
  if (pressure < 0) return chosenWidth;
  const double p = std::clamp(double(pressure), 0.0, 1.0);
  return chosenWidth * (0.4 + 1.2 * p);
}

std::array<Vec2, 6> NibCorners(const NibPoint& at) {
  const double x = at.x, y = at.y, w = at.width;
  return {{{x, y}, {x + 1, y}, {x + w + 1, y + w}, {x + w + 1, y + w + 1}, {x + w, y + w + 1}, {x, y + 1}}};
}

void SweptNib(const NibPoint& a, const NibPoint& b, OutlinePath& hull) {
  // Convex hull of both hexagons (Andrew's monotone chain), on the grid so that the hull's
  // turns are decided exactly.
  std::array<ClipperLib::IntPoint, 12> pts;
  const auto ca = NibCorners(a), cb = NibCorners(b);
  for (int i = 0; i < 6; ++i) pts[i] = ToGrid(ca[i].x, ca[i].y), pts[i + 6] = ToGrid(cb[i].x, cb[i].y);
  std::sort(pts.begin(), pts.end(), [](const auto& p, const auto& q) { return p.X < q.X || (p.X == q.X && p.Y < q.Y); });
  const auto cross = [](const ClipperLib::IntPoint& o, const ClipperLib::IntPoint& p, const ClipperLib::IntPoint& q) {
    return (long double)(p.X - o.X) * (long double)(q.Y - o.Y) - (long double)(p.Y - o.Y) * (long double)(q.X - o.X);
  };
  hull.resize(24);
  std::size_t k = 0;
  for (const auto& p : pts) {
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
    hull[k++] = p;
  }
  for (std::size_t i = pts.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
    hull[k++] = pts[i];
  }
  hull.resize(k > 1 ? k - 1 : k);
}

void SweepBands(std::span<const NibPoint> points, Outline& out) {
  if (points.empty()) {
    for (OutlinePath& path : out) path.clear();
    return;
  }
  const std::size_t count = points.size() == 1 ? 1 : points.size() - 1;
  if (out.size() < count) out.resize(count);
  if (points.size() == 1) SweptNib(points[0], points[0], out[0]);
  for (std::size_t i = 1; i < points.size(); ++i) SweptNib(points[i - 1], points[i], out[i - 1]);
  for (std::size_t i = count; i < out.size(); ++i) out[i].clear();
}

}  // namespace inkra::ink
