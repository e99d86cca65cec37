#pragma once
// Characters set along an ellipse (the oval seal's text, and the seal code of any ring), spaced
// evenly by arc length and each turned upright to the curve. Coordinates are the seal's pixels.
#include <vector>

#include "Canvas.h"

namespace inkra {

struct Ellipse2 {
  double cx = 0, cy = 0;  // centre
  double a = 0, b = 0;    // half width, half height
};

// One character's cell: its top-left corner and the turn of its font.
struct TurnedCell {
  Point at;
  int escapement = 0;  // tenths of a degree, counterclockwise
  double x = 0, y = 0;  // the cell's centre, unrounded
};

// The main text of an oval seal: n characters read clockwise over the top, spread over `span`
// degrees (of the ellipse's parameter) centred on the top; each cell's top edge on the path, the
// glyph's top facing outward, the glyphs' middles evenly spaced by length.
std::vector<TurnedCell> LayoutOverTop(const Ellipse2& path, int n, double span, double cellWidth,
                                      double cellHeight);

// A code read left to right along the bottom over `span` degrees centred on the bottom; each
// cell's bottom edge on the path with the glyph's top facing the centre.
std::vector<TurnedCell> LayoutAlongBottom(const Ellipse2& path, int n, double span,
                                          double cellWidth, double cellHeight);

// The widest cell, up to `em`, that leaves neighbouring cells of a layout apart: a long text is
// set narrower rather than overlapping.
double FittingWidth(const std::vector<TurnedCell>& cells, double em);

}  // namespace inkra
