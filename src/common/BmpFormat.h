#pragma once
// Field access shared by the BMP and DIB codecs. Reads are bounds-checked and little-endian,
// byte by byte; writes append byte by byte. Nothing here depends on the host's byte order or
// on packed structures.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Errors.h"

namespace inkra::bmp {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5, kAlphaBitFields = 6;
constexpr std::size_t kFileHeaderSize = 14, kCoreHeaderSize = 12, kInfoHeaderSize = 40;

// Reads fields of a byte block; a field that does not fit throws PictureError(truncated).
class Reader {
 public:
  Reader(std::span<const std::uint8_t> bytes, const char* truncated) : bytes_(bytes), truncated_(truncated) {}

  std::size_t Size() const { return bytes_.size(); }
  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  std::uint8_t U8(std::size_t offset) const {
    Need(offset, 1);
    return bytes_[offset];
  }
  std::uint16_t U16(std::size_t offset) const {
    Need(offset, 2);
    return std::uint16_t(bytes_[offset] | bytes_[offset + 1] << 8);
  }
  std::uint32_t U32(std::size_t offset) const {
    Need(offset, 4);
    return std::uint32_t(bytes_[offset]) | std::uint32_t(bytes_[offset + 1]) << 8 |
           std::uint32_t(bytes_[offset + 2]) << 16 | std::uint32_t(bytes_[offset + 3]) << 24;
  }
  std::int32_t I32(std::size_t offset) const { return std::int32_t(U32(offset)); }
  std::span<const std::uint8_t> Bytes(std::size_t offset, std::size_t count) const {
    Need(offset, count);
    return bytes_.subspan(offset, count);
  }

 private:
  void Need(std::size_t offset, std::size_t count) const {
    if (!Has(offset, count)) throw PictureError(truncated_);
  }
  std::span<const std::uint8_t> bytes_;
  const char* truncated_;
};

inline void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

// Decodes RLE8 (rle4 false) or RLE4 data into a bitmap of that depth whose pixels are all
// palette index 0; rows in the data run bottom-up. Throws PictureError for runs that leave a
// row or the picture and for data cut inside a code.
void DecodeRle(std::span<const std::uint8_t> data, Bitmap& bitmap, bool rle4);

}  // namespace inkra::bmp
