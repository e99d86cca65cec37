// Reading Windows bitmap files into a Bitmap at the file's own depth.
#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "Bmp.h"
#include "BmpFormat.h"

namespace inkra {
namespace {

using namespace bmp;

constexpr const char* kTruncated = "BMP file is truncated";

[[noreturn]] void Refuse(const std::string& what) { throw PictureError(what); }

struct Header {
  std::size_t headerSize = 0;
  long long width = 0, height = 0;  // height as stored: negative for top-down rows
  int planes = 1, bpp = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t coloursUsed = 0;
  bool os2v2 = false;               // OS/2 2.x header (16 or 64 bytes): its compressions differ
  std::size_t entrySize = 4;        // palette entry: 3 bytes after a core header, else 4
  std::array<std::uint32_t, 3> masks{};
  std::size_t paletteOffset = 0;    // end of the header and of any masks after it
};

Header ReadHeader(const Reader& in) {
  Header h;
  h.headerSize = in.U32(kFileHeaderSize);
  std::size_t at = kFileHeaderSize;
  if (h.headerSize == kCoreHeaderSize) {
    in.Bytes(at, kCoreHeaderSize);
    h.width = in.U16(at + 4);
    h.height = in.U16(at + 6);
    h.planes = in.U16(at + 8);
    h.bpp = in.U16(at + 10);
    h.entrySize = 3;
  } else if (h.headerSize == 16 || h.headerSize == 40 || h.headerSize == 52 || h.headerSize == 56 ||
             h.headerSize == 64 || h.headerSize == 108 || h.headerSize == 124) {
    in.Bytes(at, h.headerSize);
    h.width = in.I32(at + 4);
    h.height = in.I32(at + 8);
    h.planes = in.U16(at + 12);
    h.bpp = in.U16(at + 14);
    if (h.headerSize >= 40) {
      h.compression = in.U32(at + 16);
      h.coloursUsed = in.U32(at + 32);
    }
    h.os2v2 = h.headerSize == 16 || h.headerSize == 64;
  } else {
    Refuse("BMP header size " + std::to_string(h.headerSize) + " is not supported");
  }
  h.paletteOffset = at + h.headerSize;
  return h;
}

void CheckFormat(const Header& h) {
  if (h.planes != 1) Refuse("BMP planes field must be 1 (it is " + std::to_string(h.planes) + ")");
  if (!IsBitmapDepth(h.bpp)) Refuse("BMP bit depth of " + std::to_string(h.bpp) + " bits is not supported");
  switch (h.compression) {
    case kRgb: break;
    case kRle8:
      if (h.bpp != 8) Refuse("BMP RLE8 compression needs 8 bits per pixel");
      break;
    case kRle4:
      if (h.bpp != 4) Refuse("BMP RLE4 compression needs 4 bits per pixel");
      break;
    case kBitFields:
      if (h.os2v2) Refuse("BMP Huffman compression is not supported");
      [[fallthrough]];
    case kAlphaBitFields:
      if (h.bpp != 16 && h.bpp != 32) Refuse("BMP bit masks need 16 or 32 bits per pixel");
      break;
    case kJpeg:
      Refuse(h.os2v2 ? "BMP RLE24 compression is not supported" : "BMP with JPEG data is not supported");
    case kPng: Refuse("BMP with PNG data is not supported");
    default: Refuse("BMP compression method " + std::to_string(h.compression) + " is not supported");
  }
  if (h.width <= 0 || h.height == 0 || h.height == INT_MIN ||
      !WithinPictureLimits(h.width, h.height < 0 ? -h.height : h.height, h.bpp))
    Refuse("BMP width or height out of range (limit 30000 x 30000, 1 GiB)");
  if (h.height < 0 && (h.compression == kRle4 || h.compression == kRle8))
    Refuse("BMP top-down picture cannot be run-length compressed");
}

// Masks sit in the header from the 52-byte header on, otherwise right after the 40-byte one.
void ReadMasks(const Reader& in, Header& h) {
  if (h.compression != kBitFields && h.compression != kAlphaBitFields) return;
  std::size_t at = kFileHeaderSize + kInfoHeaderSize;
  for (int i = 0; i < 3; ++i) h.masks[i] = in.U32(at + 4 * std::size_t(i));
  if (h.headerSize == kInfoHeaderSize) h.paletteOffset += h.compression == kAlphaBitFields ? 16 : 12;
  if (!ValidMasks(h.masks, h.bpp)) {
    bool zeroOrOverlap = !h.masks[0] || !h.masks[1] || !h.masks[2] || (h.masks[0] & h.masks[1]) ||
                         (h.masks[0] & h.masks[2]) || (h.masks[1] & h.masks[2]);
    Refuse(zeroOrOverlap ? "BMP bit masks are zero or overlap"
                         : "BMP bit masks are not contiguous or do not fit the pixel size");
  }
  if (h.masks == DefaultMasks(h.bpp)) h.masks = {};
}

std::vector<PaletteEntry> ReadPalette(const Reader& in, const Header& h, std::size_t pixelOffset) {
  if (h.bpp > 8) return {};  // a table beside true-colour pixels only hints at a display palette
  std::size_t full = std::size_t(1) << h.bpp;
  std::size_t count = full;
  if (h.headerSize != kCoreHeaderSize && h.coloursUsed != 0) {
    if (h.coloursUsed > full)
      Refuse("BMP palette has " + std::to_string(h.coloursUsed) + " colours, more than the " +
             std::to_string(full) + " that " + std::to_string(h.bpp) + "-bit pixels can name");
    count = h.coloursUsed;
  }
  // Some writers store a shorter table than the header implies; the pixel offset tells.
  if (pixelOffset != 0) count = std::min(count, (pixelOffset - h.paletteOffset) / h.entrySize);
  if (count == 0) Refuse("BMP palette is missing");
  std::vector<PaletteEntry> palette(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t at = h.paletteOffset + i * h.entrySize;
    auto entry = in.Bytes(at, h.entrySize);  // the whole entry, so the pixels start inside the file
    palette[i] = {entry[0], entry[1], entry[2], 0};
  }
  return palette;
}

// The rows in Bitmap's top-down order, each byte written once: no white fill before the copy,
// which for a large picture would also pay every fresh page twice.
std::vector<std::uint8_t> CopyRows(const Reader& in, std::size_t offset, bool topDown, std::size_t stride, int height) {
  auto data = in.Bytes(offset, stride * std::size_t(height));
  if (topDown) return {data.begin(), data.end()};
  std::vector<std::uint8_t> rows;
  rows.reserve(data.size());
  for (int r = height - 1; r >= 0; --r) {
    auto row = data.subspan(std::size_t(r) * stride, stride);
    rows.insert(rows.end(), row.begin(), row.end());
  }
  return rows;
}

// Every pixel of a palette picture names an entry of its palette.
void CheckIndices(const Bitmap& bitmap) {
  std::size_t entries = bitmap.Palette().size();
  int bpp = bitmap.BitsPerPixel();
  if (entries >= (std::size_t(1) << bpp)) return;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      unsigned index = bpp == 8 ? row[x] : bpp == 4 ? (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF
                                                    : (row[x >> 3] >> (7 - (x & 7))) & 1;
      if (index >= entries)
        Refuse("BMP pixel refers to colour " + std::to_string(index) + " of a palette of " +
               std::to_string(entries));
    }
  }
}

void CheckSignature(std::span<const std::uint8_t> file) {
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') Refuse("Not a BMP file (it does not start with \"BM\")");
}

}  // namespace

PictureShape ReadBmpShape(std::span<const std::uint8_t> head) {
  CheckSignature(head);
  const Header h = ReadHeader(Reader(head, kTruncated));
  return {h.width, h.height < 0 ? -h.height : h.height, h.bpp};
}

Bitmap ReadBmp(std::span<const std::uint8_t> file) {
  Reader in(file, kTruncated);
  CheckSignature(file);
  std::size_t pixelOffset = in.U32(10);
  Header h = ReadHeader(in);
  CheckFormat(h);
  ReadMasks(in, h);
  if (pixelOffset > file.size()) Refuse("BMP pixel data offset is past the end of the file");
  if (pixelOffset != 0 && pixelOffset < h.paletteOffset) Refuse("BMP pixel data offset points into the header");
  std::vector<PaletteEntry> palette = ReadPalette(in, h, pixelOffset);
  if (pixelOffset == 0) pixelOffset = h.paletteOffset + palette.size() * h.entrySize;
  if (pixelOffset > file.size()) Refuse(kTruncated);

  bool topDown = h.height < 0;
  const int height = int(topDown ? -h.height : h.height);
  const bool rle = h.compression == kRle4 || h.compression == kRle8;
  // Uncompressed rows must all be there before we allocate for them.
  const std::size_t stride = Bitmap::StrideFor(int(h.width), h.bpp);
  if (!rle && !in.Has(pixelOffset, stride * std::size_t(height))) Refuse(kTruncated);
  Bitmap bitmap = rle ? Bitmap(int(h.width), height, h.bpp, std::vector<std::uint8_t>(stride * std::size_t(height)))
                      : Bitmap(int(h.width), height, h.bpp, CopyRows(in, pixelOffset, topDown, stride, height));
  bitmap.Palette() = std::move(palette);
  bitmap.Masks() = h.masks;
  if (rle) DecodeRle(file.subspan(pixelOffset), bitmap, h.compression == kRle4);  // skipped pixels: index 0
  if (h.bpp <= 8) CheckIndices(bitmap);
  return bitmap;
}

}  // namespace inkra
