#include "Nib.h"

#include <algorithm>

namespace inkra::ink {
namespace {

// The nib's edge directions in corner order; corner i lies between edges i - 1 and i.
constexpr int kEdges[6][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 0}, {-1, -1}, {0, -1}};

// Whether a step of (dx, dy) runs from edge i - 1's direction round to edge i's: after the
// first (or along it), and before the second (or along it too, when `closed`).
bool Between(int i, double dx, double dy, bool closed) {
  const int* before = kEdges[(i + 5) % 6];
  const int* after = kEdges[i];
  const double fromBefore = before[0] * dy - before[1] * dx, toAfter = dx * after[1] - dy * after[0];
  return fromBefore >= 0 && (closed ? toAfter >= 0 : toAfter > 0);
}

}  // namespace

double NibWidthFor(double chosenWidth, float pressure) {
  if (pressure < 0) return chosenWidth;
  const double p = std::clamp(double(pressure), 0.0, 1.0);
  return chosenWidth * (0.4 + 1.2 * p);
}

std::array<Vec2, 6> NibCorners(const NibPoint& at) {
  const double x = at.x, y = at.y, w = at.width, p = at.pen;
  return {{{x, y}, {x + p, y}, {x + w + p, y + w}, {x + w + p, y + w + p}, {x + w, y + w + p}, {x, y + p}}};
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

Rect NibBox(const NibPoint& at) {
  return GridBounds(ToGrid(at.x, at.y), ToGrid(at.x + at.width + at.pen, at.y + at.width + at.pen));
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

int RunCorner(double dx, double dy) {
  if (dx == 0 && dy == 0) return -1;
  for (int i = 0; i < 6; ++i)
    if (Between(i, dx, dy, false)) return i;
  return -1;  // unreachable for a finite step
}

bool CornerLeads(int corner, double dx, double dy) {
  return corner >= 0 && !(dx == 0 && dy == 0) && Between(corner, dx, dy, true);
}

void SweepRun(std::span<const NibPoint> points, int corner, OutlinePath& out) {
  out.clear();
  if (points.empty() || corner < 0) return;
  const int opposite = (corner + 3) % 6;
  const auto at = [](const NibPoint& p, int k) {
    const Vec2 c = NibCorners(p)[std::size_t(k)];
    return ToGrid(c.x, c.y);
  };
  for (const NibPoint& p : points) out.push_back(at(p, corner));
  for (int k = 1; k <= 3; ++k) out.push_back(at(points.back(), (corner + k) % 6));  // the front
  for (std::size_t i = points.size() - 1; i-- > 0;) out.push_back(at(points[i], opposite));
  for (int k = 1; k <= 2; ++k) out.push_back(at(points.front(), (opposite + k) % 6));  // the back
}

}  // namespace inkra::ink
