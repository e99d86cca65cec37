#pragma once
// An accepted seal as the board keeps it: what its dialog drew it from (the 96-dpi layout, its
// drawing and the stamp's look) and the dpi it was handed over at, so it can be drawn again at
// any scale long after the dialog has gone.
#include <windows.h>  // before the canvas, whose TextOut it renames

#include <functional>

#include "Canvas.h"
#include "InkLayer.h"
#include "ScalableArt.h"

namespace inkra::win {

class SealArt final : public ScalableArt {
 public:
  using Drawing = std::function<void(Canvas&)>;
  using Finish = std::function<void(ink::InkLayer&, int dpi)>;

  // `draw` and `finish` must hold copies of everything they use: they outlive the dialog.
  SealArt(int width, int height, Drawing draw, Finish finish, int handOffDpi)
      : width_(width), height_(height), draw_(std::move(draw)), finish_(std::move(finish)), dpi_(handOffDpi) {}

  // Drawn at the hand-off dpi times `scale` (rounded to a whole dpi) with a glyph source of its
  // own, over the faces the dialog's drawing has read (KeptFaces). At scale 1: the pixels of the
  // hand-off file.
  Bitmap DrawAt(double scale) const override;
  std::unique_ptr<ink::InkLayer> InkAt(double scale) const override;

 private:
  std::unique_ptr<ink::InkLayer> Draw(double scale) const;

  const int width_, height_;  // 96-dpi units
  const Drawing draw_;
  const Finish finish_;
  const int dpi_;
};

}  // namespace inkra::win
