#include "InkRedraw.h"

#include <algorithm>

namespace inkra::board {
namespace {

// Puts the layer's clip back to the whole layer however the drawing ends.
class ClippedTo {
 public:
  ClippedTo(ink::InkLayer& layer, const Rect& area) : layer_(layer) { layer_.ClipTo(area); }
  ~ClippedTo() { layer_.ClipTo(layer_.Bounds()); }
  ClippedTo(const ClippedTo&) = delete;
  ClippedTo& operator=(const ClippedTo&) = delete;

 private:
  ink::InkLayer& layer_;
};

}  // namespace

void RedrawInk(ink::InkLayer& layer, const Bitmap* baseInk, const ItemList& items, const Rect& area) {
  const Rect inside = area.Intersect(layer.Bounds());
  if (inside.Empty()) return;
  // No ink: the layer's transparent white.
  const PixelRows dry = layer.DryPixels();
  for (int y = inside.top; y < inside.bottom; ++y) {
    std::uint8_t* p = dry.Row(y) + std::size_t(inside.left) * 4;
    for (int x = inside.left; x < inside.right; ++x, p += 4) p[0] = p[1] = p[2] = 255, p[3] = 0;
  }
  const ClippedTo clipped(layer, inside);
  if (baseInk) LayBaseInk(*baseInk, 1, layer);
  for (const auto& item : items)
    if (!BoundsOf(*item).Intersect(inside).Empty()) DrawItem(*item, 1, layer);
}

}  // namespace inkra::board
