#include "PicturePlacement.h"

#include <algorithm>
#include <cmath>

#include "ToolbarAddIn.h"

namespace inkra::addin {
namespace {

// Keeps [start, start + size) inside [0, limit); a picture larger than the page starts at 0.
double Inside(double start, double size, double limit) { return std::max(0.0, std::min(start, limit - size)); }

}  // namespace

Position AtPageTopLeft(const PictureBox& box) { return {kPictureLeft + box.left, kPictureTop + box.top}; }

Position AtCursor(double x, double y, double pageWidth, double pageHeight, double width, double height) {
  return {Inside(x, width, pageWidth), Inside(y - height / 2, height, pageHeight)};
}

Position AtRightEdge(double pageWidth, double pageHeight, double width, double height) {
  return {pageWidth - width, (pageHeight - height) / 2};
}

win::Variant PointsArgument(double points) {
  if (points == std::floor(points) && std::abs(points) < 1e9) return win::Variant(int(points));
  return win::Variant(points);
}

}  // namespace inkra::addin
