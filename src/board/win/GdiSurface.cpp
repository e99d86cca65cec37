#include "GdiSurface.h"

namespace inkra::board::win {

GdiSurfaceFactory::GdiSurfaceFactory() {
  HDC screen = GetDC(nullptr);
  int bits = screen ? GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) : 32;
  if (screen) ReleaseDC(nullptr, screen);
  // Ink is laid over 24 or 32 bits only: a 16-bit display (remote desktop at "High colour") and
  // anything odder get 32-bit pictures, which the system converts when it shows them.
  depth_ = (bits == 24 || bits == 32) ? bits : 32;
}

std::unique_ptr<Surface> GdiSurfaceFactory::Made(std::unique_ptr<GdiSurface> surface) const {
  surface->SetDpi(dpi_);
  return surface;
}

std::unique_ptr<Surface> GdiSurfaceFactory::NewWhite(int width, int height) {
  return Made(std::make_unique<GdiSurface>(width, height, depth_));
}

std::unique_ptr<Surface> GdiSurfaceFactory::NewBlank(int width, int height, int bitsPerPixel) {
  return Made(std::make_unique<GdiSurface>(width, height, bitsPerPixel == kDisplayDepth ? depth_ : bitsPerPixel,
                                           inkra::win::GdiCanvas::Contents::Unset));
}

std::unique_ptr<Surface> GdiSurfaceFactory::FromBitmap(const Bitmap& bitmap) {
  return Made(std::make_unique<GdiSurface>(bitmap));
}

}  // namespace inkra::board::win
