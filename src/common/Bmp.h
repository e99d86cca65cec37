#pragma once
// Windows bitmap files: read (core and info headers, 1/4/8/16/24/32 bits, BI_RGB, BI_BITFIELDS,
// RLE4, RLE8, bottom-up and top-down) and write (uncompressed, 40-byte header, bottom-up).
#include <cstdint>
#include <span>

#include "Bitmap.h"
#include "ByteSink.h"

namespace inkra {

// Throws PictureError naming what is wrong with the file. The picture keeps the file's depth
// and palette; RLE pictures come back uncompressed at their depth.
Bitmap ReadBmp(std::span<const std::uint8_t> file);

// "BM", 14-byte file header, 40-byte info header, palette or BI_BITFIELDS masks, then the rows
// bottom-up, each padded to 4 bytes, at the picture's own depth.
void WriteBmp(const Bitmap& bitmap, ByteSink& sink);

}  // namespace inkra
