#pragma once
// A tile of ink rows (or any box of them) as the undo history keeps it, packed: runs of one
// repeated pixel (paper, or the inside of a stroke) and runs of pixels as they are (a stroke's
// anti-aliased edge). Ink is mostly nowhere, so a tile a stroke crossed keeps about its edges'
// pixels, not 4 KB, and a photo signed across keeps about its strokes, not its whole box.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "PixelRows.h"

namespace inkra::board {

// Where a tile lies in 32-bit rows: its top row, height, the byte offset of its left edge in a
// row, and the bytes of one of its rows (a multiple of 4).
struct TilePlace {
  int y = 0, height = 0;
  std::size_t offset = 0, rowBytes = 0;
};

// The tile's pixels as they stand in `rows`, packed.
std::vector<std::uint8_t> PackInkTile(const ConstPixelRows& rows, const TilePlace& tile);
// Writes packed pixels back into `rows` at the tile's place.
void UnpackInkTile(const std::vector<std::uint8_t>& packed, const PixelRows& rows, const TilePlace& tile);

}  // namespace inkra::board
