// Writing a Bitmap as an uncompressed Windows bitmap file at its own depth.
#include <algorithm>
#include <string>

#include "Bmp.h"
#include "BmpFormat.h"

namespace inkra {

using namespace bmp;

void WriteBmp(const Bitmap& bitmap, ByteSink& sink) {
  const int bpp = bitmap.BitsPerPixel();
  if (bitmap.Empty()) throw PictureError("An empty picture cannot be written as a BMP file");
  if (!IsBitmapDepth(bpp)) throw PictureError("Bitmap depth of " + std::to_string(bpp) + " bits is not supported");
  const std::size_t stride = bitmap.Stride();
  const std::size_t imageBytes = stride * std::size_t(bitmap.Height());
  if (stride != Bitmap::StrideFor(bitmap.Width(), bpp) || bitmap.Pixels().size() != imageBytes)
    throw PictureError("Bitmap pixel buffer does not match its size");

  // Masks are written only when they differ from what BI_RGB implies at this depth.
  const bool bitFields = (bpp == 16 || bpp == 32) && bitmap.HasMasks() && bitmap.Masks() != DefaultMasks(bpp);
  // A palette picture always carries a table; an empty one is written as black entries,
  // which is how its pixels read.
  std::size_t entries = 0;
  if (bpp <= 8) {
    entries = std::min(bitmap.Palette().size(), std::size_t(1) << bpp);
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
  PutU32(head, std::uint32_t(bitmap.Width()));
  PutU32(head, std::uint32_t(bitmap.Height()));       // positive: rows bottom-up
  PutU16(head, 1);                                    // planes
  PutU16(head, std::uint32_t(bpp));
  PutU32(head, bitFields ? kBitFields : kRgb);
  PutU32(head, std::uint32_t(imageBytes));
  PutU32(head, 0);                                    // pixels per metre: not known
  PutU32(head, 0);
  PutU32(head, std::uint32_t(entries));               // colours used
  PutU32(head, 0);                                    // all colours important
  if (bitFields)
    for (std::uint32_t m : bitmap.Masks()) PutU32(head, m);
  for (std::size_t i = 0; i < entries; ++i) {
    PaletteEntry e = i < bitmap.Palette().size() ? bitmap.Palette()[i] : PaletteEntry{};
    head.insert(head.end(), {e.blue, e.green, e.red, std::uint8_t(0)});
  }
  sink.Write(head);
  for (int y = bitmap.Height() - 1; y >= 0; --y) sink.Write({bitmap.Row(y), stride});
}

}  // namespace inkra
