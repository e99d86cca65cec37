#pragma once
// The board's flat nib: a diagonal segment from the pointer's pixel (0, 0) to (w, w), drawn with
// the one-pixel pen that outlines it. As a shape, that is the segment thickened by one pixel
// square: the hexagon (0,0) (1,0) (w+1,w) (w+1,w+1) (w,w+1) (0,1) around the pointer's pixel
// corner. The pixels whose centres it sweeps are exactly the ones the aliased polygon of a
// stroke step paints; here its edges keep their exact partial coverage.
#include <array>
#include <span>

#include "InkGeometry.h"

namespace inkra::ink {

// Pen pressure as the pointer reports it, from 0 (barely touching) to 1 (full); a pointer that
// reports none (the mouse) draws at the chosen width.
constexpr float kNoPressure = -1.0f;

// The pressure curve: the nib's width is the chosen width times
//   0.4 + 1.2 * pressure,
// a straight line through 40 % at the lightest touch, 100 % at medium pressure (0.5) and 160 % at
// full pressure. Pressure outside 0..1 is clamped.
double NibWidthFor(double chosenWidth, float pressure);

// One position of the nib along the centre line: its corner (the pointer's pixel corner), its
// diagonal reach at that point, and the side of the square pen that outlines it: one pixel on
// the board, the same pixel's size in the pixels of a picture drawn at another scale.
struct NibPoint {
  double x = 0, y = 0, width = 0;
  double pen = 1;
};

struct Vec2 {
  double x = 0, y = 0;
};
std::array<Vec2, 6> NibCorners(const NibPoint& at);

// The band the nib sweeps from `a` to `b` (the convex hull of the nib at both ends), on the
// outline grid, into `band`. Every band turns the same way round, so overlapping bands add up
// under the non-zero rule and never cancel.
void SweptNib(const NibPoint& a, const NibPoint& b, OutlinePath& band);

// The pixels the nib covers at a point (all of it, partly covered ones too).
Rect NibBox(const NibPoint& at);

// The swept bands of each consecutive pair of points (the nib alone for a single point), in
// `out`. Paths of `out` beyond the bands are left empty, and all keep their memory: a stroke
// sweeps at every pointer move, and an empty path is no shape to anything that draws or joins.
void SweepBands(std::span<const NibPoint> points, Outline& out);

// A run of the nib: a stretch of the centre line, all at one width, along which the nib's two
// outermost corners across the direction of travel stay the same ones. The hexagon's edges run
// at 0, 45, 90, 180, 225 and 270 degrees; between two of those directions the same two opposite
// corners lead, so a run turns through at most 90 degrees.
//
// The corner that leads on one side for a step of (dx, dy) (the other side's is the opposite
// corner, three on), as an index into NibCorners; -1 for no movement. A step exactly along an
// edge has two leading corners on each side; the one the edge leads to is given.
int RunCorner(double dx, double dy);
// Whether `corner` leads for a step of (dx, dy), counting both corners of an edge the step runs
// exactly along: a mouse's whole-pixel moves often run exactly level, upright or diagonal, and
// such a step belongs to the run on either side of that direction.
bool CornerLeads(int corner, double dx, double dy);

// The outline the nib sweeps along a run, every step of which `corner` leads: the corner's path
// forward, the nib's front, the opposite corner's path back,
// the nib's back. It is one simple polygon, the same shape as the union of SweptNib's bands
// along the points, with the same corners on the grid and turning the same way round; being
// one polygon, nothing in it needs joining before it is rasterized.
void SweepRun(std::span<const NibPoint> points, int corner, OutlinePath& out);

}  // namespace inkra::ink
