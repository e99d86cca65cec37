#pragma once
// A picture that can be drawn again at another scale: a seal as its dialog drew it. The board
// keeps it beside the pixels it shows, so what leaves the board can be drawn sharper than the
// screen from the same geometry instead of being stretched from screen pixels.
#include <memory>

#include "Bitmap.h"

namespace inkra {

namespace ink {
class InkLayer;
}

class ScalableArt {
 public:
  virtual ~ScalableArt() = default;
  // The picture at `scale` times the size it was handed over at (1: the same pixels, rounded
  // sizes otherwise), as 32-bit rows of colour and straight alpha, as a seal's hand-off file
  // holds them. Throws std::bad_alloc or PictureError when it cannot be drawn that large.
  virtual Bitmap DrawAt(double scale) const = 0;
  // The same as ink (paper white and bare where there is none), for output drawn as ink anyway:
  // no bitmap made and read back. Null where the art has no ink of its own.
  virtual std::unique_ptr<ink::InkLayer> InkAt(double) const { return nullptr; }
};

}  // namespace inkra
