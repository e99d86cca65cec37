#pragma once
// Draws a Word document's floating pictures onto a white page, as Word shows them: each at its
// Left/Top/Width/Height in points (96 dpi: px = pt * 96 / 72), with the transparency colour left
// out when the picture's background is transparent, and a PNG's alpha laid over the page.
#include <windows.h>

#include <cstdint>
#include <map>
#include <vector>

#include "hostdouble/OfficeDouble.h"

namespace inkra::demo {

// Pixels as 0xAARRGGBB (a 32-bit DIB's layout, straight alpha; 255 for opaque files), top-down.
struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> data;
};

// Decodes a picture file's bytes with WIC; empty when it cannot.
Pixels DecodePicture(const std::vector<std::uint8_t>& file);

inline int PointsToPixels(double points) { return int(points * 96.0 / 72.0 + 0.5); }

class PageRenderer {
 public:
  // Draws every shape, in order, over a page of width x height pixels (0x00RRGGBB, top-down)
  // that already holds the document's text. With `pageNumber`, only the shapes anchored on that
  // page (those without an anchor stand on the first).
  void Render(const test::office::ShapesState& shapes, std::uint32_t* page, int width, int height,
              int pageNumber = 0);

 private:
  const Pixels& Decoded(const test::office::ShapeState& shape);
  std::map<const test::office::ShapeState*, Pixels> cache_;  // decoded once per inserted shape
};

}  // namespace inkra::demo
