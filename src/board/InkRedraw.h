#pragma once
// Part of the board's ink drawn again from what made it, as undo and redo need when a stroke or
// a stamp comes off or goes back on: the area is wiped, then the ink the picture came with and
// every item that reaches the area are drawn again in order, landing only inside it. Each
// pixel's ink depends only on what was drawn over that pixel and in what order, and every item
// is worked out exactly as when it was first drawn, so the area comes back pixel for pixel.
#include "BoardItems.h"
#include "Bitmap.h"
#include "InkLayer.h"

namespace inkra::board {

// `baseInk` may be null (no ink came with the picture). The layer's clip is the whole layer
// again afterwards, also when drawing throws (std::bad_alloc; the area is then unfinished).
void RedrawInk(ink::InkLayer& layer, const Bitmap* baseInk, const ItemList& items, const Rect& area);

}  // namespace inkra::board
