#include "ScanPicture.h"

#include "BoardTexts.h"
#include "PictureFile.h"

namespace inkra::board::win {

twain::DeviceContext ScanPicture::Canvas() {
  // A scan is held to the limit of an opened picture: past it, no surface is made at all.
  if (!picture_ && !tooLarge_) {
    const PictureShape shape{width_, height_, surfaces_.DisplayDepth()};
    if (shape.DecodedBytes() > kMaxPictureBytes) tooLarge_ = shape;
    else picture_ = surfaces_.NewBlank(width_, height_, SurfaceFactory::kDisplayDepth);
  }
  auto* gdi = dynamic_cast<GdiSurface*>(picture_.get());
  return gdi ? gdi->Dc() : nullptr;
}

std::unique_ptr<Surface> ScanPicture::TakePicture() {
  if (tooLarge_)
    throw PictureTooLarge(
        PictureTooLargeText(tooLarge_->width, tooLarge_->height, tooLarge_->DecodedBytes(), kMaxPictureBytes));
  return std::move(picture_);
}

}  // namespace inkra::board::win
