#include "SealArt.h"

#include <cmath>

#include "Errors.h"
#include "GdiGlyphSource.h"
#include "SealForm.h"

namespace inkra::win {

Bitmap SealArt::DrawAt(double scale) const {
  const double dpi = std::round(dpi_ * scale);
  if (!(dpi >= 1 && dpi <= 1e5)) throw PictureError("Cannot draw the seal at this size");
  GdiGlyphSource glyphs(static_cast<int>(dpi), dpi_);  // text in the proportions of the hand-off picture
  return SealBitmap(*DrawSealInk(glyphs, width_, height_, draw_ ? draw_ : Drawing([](Canvas&) {}), finish_));
}

}  // namespace inkra::win
