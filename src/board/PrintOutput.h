#pragma once
// The board's picture drawn again for paper: the ink from its items (and the ink the picture
// came with, a seal's art drawn at the scale when it has one) at a scale above the screen's,
// over the picture resampled to that size. The view and the screen-sized writers never use it.
#include <memory>

#include "BoardLayout.h"
#include "BoardPicture.h"
#include "ByteSink.h"
#include "InkLayer.h"

namespace inkra::board {

// Pixels per inch of paper a printed signature or seal keeps its edges sharp at.
inline constexpr int kPrintPixelsPerInch = 300;

// A picture's size at `scale`, each side rounded up and at least one pixel.
inline Size ScaledSize(Size size, double scale) {
  return {ScaledLength(size.width, scale), ScaledLength(size.height, scale)};
}

// The smallest whole scale that gives a picture of `picture` pixels, shown at `dpi`, at least
// kPrintPixelsPerInch on paper (4 at 96 dpi, 3 at 144, 2 at 192); reduced to the largest whole
// one that keeps the ink (4 bytes a pixel) within kMaxPictureBytes, and for a picture too large
// even for 2, to the largest factor that fits, never below 1 (the screen's own pixels).
double PrintScale(Size picture, int dpi);

// The ink of `content` drawn at `scale` into a new layer of the scaled size: the ink it came
// with (its art drawn at that scale where it has art and can, otherwise resampled), then every
// item in order. At scale 1 it is the board's own ink layer, pixel for pixel.
std::unique_ptr<ink::InkLayer> RenderInk(const PictureState& content, double scale);

// WritePng at `scale`: on paper, the ink over transparent; on an opened or scanned picture, the
// picture resampled bilinear with the ink composited, opaque. At 1, or for an undrawn JPEG, it
// is WritePng itself.
void WritePngAt(const PictureState& content, double scale, ByteSink& sink);

}  // namespace inkra::board
