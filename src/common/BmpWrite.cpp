// Writing a Bitmap as an uncompressed Windows bitmap file at its own depth.
#include <algorithm>
#include <string>

#include "Bmp.h"
#include "BmpFormat.h"

namespace inkra {

using namespace bmp;

void WriteBmp(const Bitmap& bitmap, ByteSink& sink) {
  if (bitmap.Empty()) throw PictureError("An empty picture cannot be written as a BMP file");
  if (bitmap.Stride() != Bitmap::StrideFor(bitmap.Width(), bitmap.BitsPerPixel()) ||
      bitmap.Pixels().size() != bitmap.Stride() * std::size_t(bitmap.Height()))
    throw PictureError("Bitmap pixel buffer does not match its size");
  WriteBmp(BitmapView{bitmap.Width(), bitmap.Height(), bitmap.BitsPerPixel(), bitmap.Pixels().data(),
                      bitmap.Palette(), bitmap.Masks()},
           sink);
}

void WriteBmp(const BitmapView& bitmap, ByteSink& sink) {
  const int bpp = bitmap.bitsPerPixel;
  if (bitmap.width <= 0 || bitmap.height <= 0 || !bitmap.pixels)
    throw PictureError("An empty picture cannot be written as a BMP file");
  if (!IsBitmapDepth(bpp)) throw PictureError("Bitmap depth of " + std::to_string(bpp) + " bits is not supported");
  const std::size_t stride = Bitmap::StrideFor(bitmap.width, bpp);
  const std::size_t imageBytes = stride * std::size_t(bitmap.height);

  // Masks are written only when they differ from what BI_RGB implies at this depth.
  const bool hasMasks = bitmap.masks[0] | bitmap.masks[1] | bitmap.masks[2];
  const bool bitFields = (bpp == 16 || bpp == 32) && hasMasks && bitmap.masks != DefaultMasks(bpp);
  // A palette picture always carries a table; an empty one is written as black entries,
  // which is how its pixels read.
  std::size_t entries = 0;
  if (bpp <= 8) {
    entries = std::min(bitmap.palette.size(), std::size_t(1) << bpp);
    if (entries == 0) entries = std::size_t(1) << bpp;
  }
  const std::size_t offBits = kFileHeaderSize + kInfoHeaderSize + (bitFields ? 12 : 0) + 4 * entries;

  std::vector<std::uint8_t> head;
  head.reserve(offBits);
  head.push_back('B');
  head.push_back('M');
  PutU32(head, std::uint32_t(offBits + imageBytes));  // at most 1 GiB plus headers
  PutU32(head, 0);                                    // reserved
  PutU32(head, std::uint32_t(offBits));
  PutU32(head, kInfoHeaderSize);
  PutU32(head, std::uint32_t(bitmap.width));
  PutU32(head, std::uint32_t(bitmap.height));         // positive: rows bottom-up
  PutU16(head, 1);                                    // planes
  PutU16(head, std::uint32_t(bpp));
  PutU32(head, bitFields ? kBitFields : kRgb);
  PutU32(head, std::uint32_t(imageBytes));
  PutU32(head, 0);                                    // pixels per metre: not known
  PutU32(head, 0);
  PutU32(head, std::uint32_t(entries));               // colours used
  PutU32(head, 0);                                    // all colours important
  if (bitFields)
    for (std::uint32_t m : bitmap.masks) PutU32(head, m);
  for (std::size_t i = 0; i < entries; ++i) {
    PaletteEntry e = i < bitmap.palette.size() ? bitmap.palette[i] : PaletteEntry{};
    head.insert(head.end(), {e.blue, e.green, e.red, std::uint8_t(0)});
  }
  sink.Write(head);
  for (int y = bitmap.height - 1; y >= 0; --y) sink.Write({bitmap.pixels + std::size_t(y) * stride, stride});
}

}  // namespace inkra
