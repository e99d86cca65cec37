#pragma once
// Windows bitmap files: read (core and info headers, 1/4/8/16/24/32 bits, BI_RGB, BI_BITFIELDS,
// RLE4, RLE8, bottom-up and top-down) and write (uncompressed, 40-byte header, bottom-up).
#include <array>
#include <cstdint>
#include <span>

#include "Bitmap.h"
#include "ByteSink.h"

namespace inkra {

// Throws PictureError naming what is wrong with the file. The picture keeps the file's depth
// and palette; RLE pictures come back uncompressed at their depth.
Bitmap ReadBmp(std::span<const std::uint8_t> file);

// The width, height and depth ReadBmp would give, from the file and information headers alone
// (the first 138 bytes of the file are enough). Throws PictureError as ReadBmp does when they
// are not a BMP's or are cut short.
PictureShape ReadBmpShape(std::span<const std::uint8_t> head);

// Rows laid out as a Bitmap's (top-down, padded to 4 bytes) that live elsewhere, such as the bits
// of a DIB section: written from where they lie, with no copy of the picture first.
struct BitmapView {
  int width = 0, height = 0, bitsPerPixel = 24;
  const std::uint8_t* pixels = nullptr;  // height rows of Bitmap::StrideFor(width, bitsPerPixel)
  std::span<const PaletteEntry> palette;
  std::array<std::uint32_t, 3> masks{};  // all zero: the depth's default layout
};

// "BM", 14-byte file header, 40-byte info header, palette or BI_BITFIELDS masks, then the rows
// bottom-up, each padded to 4 bytes, at the picture's own depth.
void WriteBmp(const Bitmap& bitmap, ByteSink& sink);
void WriteBmp(const BitmapView& picture, ByteSink& sink);

}  // namespace inkra
