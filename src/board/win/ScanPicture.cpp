#include "ScanPicture.h"

namespace inkra::board::win {

twain::DeviceContext ScanPicture::Canvas() {
  if (!picture_) picture_ = surfaces_.NewBlank(width_, height_, SurfaceFactory::kDisplayDepth);
  auto* gdi = dynamic_cast<GdiSurface*>(picture_.get());
  return gdi ? gdi->Dc() : nullptr;
}

}  // namespace inkra::board::win
