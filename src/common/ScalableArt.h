#pragma once
// A picture that can be drawn again at another scale: a seal as its dialog drew it. The board
// keeps it beside the pixels it shows, so what leaves the board can be drawn sharper than the
// screen from the same geometry instead of being stretched from screen pixels.
#include "Bitmap.h"

namespace inkra {

class ScalableArt {
 public:
  virtual ~ScalableArt() = default;
  // The picture at `scale` times the size it was handed over at (1: the same pixels, rounded
  // sizes otherwise), as 32-bit rows of colour and straight alpha, as a seal's hand-off file
  // holds them. Throws std::bad_alloc or PictureError when it cannot be drawn that large.
  virtual Bitmap DrawAt(double scale) const = 0;
};

}  // namespace inkra
