#include "PictureAtDpi.h"

#include "Dpi.h"
#include "ScaledCanvas.h"

namespace inkra::win {

std::unique_ptr<GdiCanvas> DrawPictureAtDpi(int width, int height, int bitsPerPixel, int dpi,
                                            const std::function<void(Canvas&)>& draw) {
  auto picture = std::make_unique<GdiCanvas>(ScaleToDpi(width, dpi), ScaleToDpi(height, dpi), bitsPerPixel);
  picture->SetDpi(dpi);
  ScaledCanvas scaled(*picture, dpi);
  draw(scaled);
  return picture;
}

}  // namespace inkra::win
