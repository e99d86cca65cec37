#pragma once
// The picture control a scan is drawn into: never shown, a size of its own and a picture that
// becomes a DIB section at the board's depth when first drawn on. The board takes the picture
// over as its own surface, so the scan's pixels are not copied a second time.
#include <memory>
#include <optional>

#include "GdiSurface.h"
#include "TwainPlatform.h"

namespace inkra::board::win {

class ScanPicture final : public twain::PictureControl {
 public:
  explicit ScanPicture(GdiSurfaceFactory& surfaces) : surfaces_(surfaces) {}  // not owned

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetSize(int width, int height) override { width_ = width, height_ = height; }
  twain::DeviceContext Canvas() override;

  void Clear() { picture_.reset(), tooLarge_.reset(); }
  // The picture drawn, or null when nothing was. PictureTooLarge when the image was past what the
  // board holds: its surface was never made.
  std::unique_ptr<Surface> TakePicture();

 private:
  GdiSurfaceFactory& surfaces_;
  std::optional<PictureShape> tooLarge_;  // the image refused for its size
  int width_ = 0, height_ = 0;
  std::unique_ptr<Surface> picture_;
};

}  // namespace inkra::board::win
