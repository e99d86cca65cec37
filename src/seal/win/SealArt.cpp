#include "SealArt.h"

#include <cmath>

#include "Errors.h"
#include "GdiGlyphSource.h"
#include "SealForm.h"

namespace inkra::win {

std::unique_ptr<ink::InkLayer> SealArt::Draw(double scale) const {
  const double dpi = std::round(dpi_ * scale);
  if (!(dpi >= 1 && dpi <= 1e5)) throw PictureError("Cannot draw the seal at this size");
  GdiGlyphSource glyphs(static_cast<int>(dpi), dpi_);  // text in the proportions of the hand-off picture
  return DrawSealInk(glyphs, width_, height_, draw_ ? draw_ : Drawing([](Canvas&) {}), finish_, scale != 1);
}

Bitmap SealArt::DrawAt(double scale) const { return SealBitmap(*Draw(scale)); }

std::unique_ptr<ink::InkLayer> SealArt::InkAt(double scale) const {
  std::unique_ptr<ink::InkLayer> layer = Draw(scale);
  // The stamp's look can wear a pixel's ink down to nothing and leave its colour: bare paper
  // there, as a layer the pixels were laid into holds it.
  const PixelRows rows = layer->DryPixels();
  for (int y = 0; y < rows.height; ++y) {
    std::uint8_t* p = rows.Row(y);
    for (int x = 0; x < rows.width; ++x, p += 4)
      if (!p[3]) p[0] = p[1] = p[2] = 255;
  }
  return layer;
}

}  // namespace inkra::win
