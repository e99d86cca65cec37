#include "SealPath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Numeric.h"

namespace inkra {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

struct Vec {
  double x = 0, y = 0;
};

Vec At(const Ellipse2& e, double theta) { return {e.cx + e.a * std::cos(theta), e.cy - e.b * std::sin(theta)}; }

// The direction of growing theta, on screen (y downward), of unit length.
Vec Forward(const Ellipse2& e, double theta) {
  const Vec d{-e.a * std::sin(theta), -e.b * std::cos(theta)};
  const double length = std::hypot(d.x, d.y);
  return length > 0 ? Vec{d.x / length, d.y / length} : Vec{1, 0};
}

// The parameters of n points evenly spaced by arc length from theta0 to theta1 (either way).
std::vector<double> EvenlyByLength(const Ellipse2& e, double theta0, double theta1, int n) {
  constexpr int kSteps = 1024;
  std::vector<double> length(kSteps + 1, 0.0);
  Vec last = At(e, theta0);
  for (int k = 1; k <= kSteps; ++k) {
    const Vec p = At(e, theta0 + (theta1 - theta0) * k / kSteps);
    length[k] = length[k - 1] + std::hypot(p.x - last.x, p.y - last.y);
    last = p;
  }
  std::vector<double> thetas;
  for (int i = 0; i < n; ++i) {
    const double want = n == 1 ? length.back() / 2 : length.back() * i / (n - 1);
    int k = 1;
    while (k < kSteps && length[k] < want) ++k;
    const double piece = length[k] - length[k - 1];
    const double part = piece > 0 ? (want - length[k - 1]) / piece : 0;
    thetas.push_back(theta0 + (theta1 - theta0) * (k - 1 + part) / kSteps);
  }
  return thetas;
}

// A cell of w x h centred on `centre`, reading in direction `along`. A turned font turns its cell
// about the top-left corner.
TurnedCell Place(Vec centre, Vec along, double w, double h) {
  const Vec down{-along.y, along.x};  // the glyph's downward direction, on screen
  const Vec corner{centre.x - along.x * w / 2 - down.x * h / 2, centre.y - along.y * w / 2 - down.y * h / 2};
  TurnedCell cell;
  cell.at = {int(RoundHalfEven(corner.x)), int(RoundHalfEven(corner.y))};
  const double degrees = std::atan2(-along.y, along.x) / kDegree;
  cell.escapement = int(RoundHalfEven(degrees * 10));
  cell.x = corner.x + along.x * w / 2 + down.x * h / 2;
  cell.y = corner.y + along.y * w / 2 + down.y * h / 2;
  return cell;
}

}  // namespace

std::vector<TurnedCell> LayoutOverTop(const Ellipse2& path, int n, double span, double cellWidth,
                                      double cellHeight) {
  std::vector<TurnedCell> cells;
  if (n < 1) return cells;
  // The glyphs' middles run half a cell inside the path, evenly spaced along that line.
  const Ellipse2 middle{path.cx, path.cy, path.a - cellHeight / 2, path.b - cellHeight / 2};
  // Clockwise on screen is decreasing theta: from the upper left over the top.
  const double from = (90 + span / 2) * kDegree, to = (90 - span / 2) * kDegree;
  for (double theta : EvenlyByLength(middle, from, to, n)) {
    const Vec f = Forward(middle, theta);
    cells.push_back(Place(At(middle, theta), {-f.x, -f.y}, cellWidth, cellHeight));
  }
  return cells;
}

std::vector<TurnedCell> LayoutAlongBottom(const Ellipse2& path, int n, double span,
                                          double cellWidth, double cellHeight) {
  std::vector<TurnedCell> cells;
  if (n < 1) return cells;
  const Ellipse2 middle{path.cx, path.cy, path.a - cellHeight / 2, path.b - cellHeight / 2};
  // Left to right along the bottom is increasing theta around 270 degrees.
  const double from = (270 - span / 2) * kDegree, to = (270 + span / 2) * kDegree;
  for (double theta : EvenlyByLength(middle, from, to, n))
    cells.push_back(Place(At(middle, theta), Forward(middle, theta), cellWidth, cellHeight));
  return cells;
}

double FittingWidth(const std::vector<TurnedCell>& cells, double em) {
  double width = em;
  for (std::size_t i = 1; i < cells.size(); ++i)
    width = std::min(width, std::hypot(cells[i].x - cells[i - 1].x, cells[i].y - cells[i - 1].y));
  return width;
}

}  // namespace inkra
