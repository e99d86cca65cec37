#include "InkTiles.h"

#include <algorithm>
#include <cstring>

namespace inkra::board {
namespace {

// A run's header: its length in pixels, the top bit set for pixels as they are (each follows),
// clear for one pixel repeated (it follows once). A longer run is cut into runs of kLongest.
constexpr std::uint16_t kLiteral = 0x8000;
constexpr std::size_t kLongest = 0x7FFF;

void PutHeader(std::vector<std::uint8_t>& out, std::uint16_t header) {
  out.push_back(std::uint8_t(header & 0xFF));
  out.push_back(std::uint8_t(header >> 8));
}

// The tile's pixels one after another, row by row.
template <class Byte>
class TilePixels {
 public:
  TilePixels(Byte* bits, std::size_t stride, const TilePlace& tile)
      : bits_(bits), stride_(stride), tile_(tile), perRow_(tile.rowBytes / 4) {}
  std::size_t Count() const { return perRow_ * std::size_t(tile_.height); }
  Byte* At(std::size_t i) const {
    return bits_ + std::size_t(tile_.y + int(i / perRow_)) * stride_ + tile_.offset + (i % perRow_) * 4;
  }

 private:
  Byte* bits_;
  std::size_t stride_;
  TilePlace tile_;
  std::size_t perRow_;
};

bool Same(const std::uint8_t* a, const std::uint8_t* b) { return std::memcmp(a, b, 4) == 0; }

}  // namespace

std::vector<std::uint8_t> PackInkTile(const ConstPixelRows& rows, const TilePlace& tile) {
  const TilePixels<const std::uint8_t> pixels(rows.bits, rows.stride, tile);
  std::vector<std::uint8_t> out;
  const std::size_t n = pixels.Count();
  std::size_t i = 0;
  while (i < n) {
    std::size_t same = 1;
    while (i + same < n && same < kLongest && Same(pixels.At(i + same), pixels.At(i))) ++same;
    if (same >= 2) {
      PutHeader(out, std::uint16_t(same));
      out.insert(out.end(), pixels.At(i), pixels.At(i) + 4);
      i += same;
      continue;
    }
    // Pixels as they are, up to where two equal ones begin a run.
    std::size_t literal = 1;
    while (i + literal < n && literal < kLongest &&
           !(i + literal + 1 < n && Same(pixels.At(i + literal), pixels.At(i + literal + 1))))
      ++literal;
    PutHeader(out, std::uint16_t(kLiteral | literal));
    for (std::size_t k = 0; k < literal; ++k) out.insert(out.end(), pixels.At(i + k), pixels.At(i + k) + 4);
    i += literal;
  }
  out.shrink_to_fit();
  return out;
}

void UnpackInkTile(const std::vector<std::uint8_t>& packed, const PixelRows& rows, const TilePlace& tile) {
  const TilePixels<std::uint8_t> pixels(rows.bits, rows.stride, tile);
  std::size_t i = 0, at = 0;
  while (at + 2 <= packed.size() && i < pixels.Count()) {
    const std::uint16_t header = std::uint16_t(packed[at] | (packed[at + 1] << 8));
    at += 2;
    const std::size_t length = std::min<std::size_t>(header & ~kLiteral, pixels.Count() - i);
    for (std::size_t k = 0; k < length && at + 4 <= packed.size(); ++k, ++i) {
      std::memcpy(pixels.At(i), packed.data() + at, 4);
      if (header & kLiteral) at += 4;
    }
    if (!(header & kLiteral)) at += 4;
  }
}

}  // namespace inkra::board
