#pragma once
// A packed DIB as a scanner's native transfer delivers it: info header, colour table, pixels.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace inkra {

struct DibLayout {
  std::int32_t width = 0, height = 0;  // as the header states them
  int bitCount = 0;
  std::uint32_t compression = 0;
  std::size_t headerSize = 0;          // biSize
  std::size_t colourEntries = 0;       // colour-table entries
  std::size_t entrySize = 4;           // bytes per entry: 3 (RGBTRIPLE) after a core header
  std::size_t pixelOffset = 0;         // from the start of the block: biSize + entrySize * entries
};

// Reads the layout of a packed DIB. Colour entries: 2^bitcount for a 12-byte core header;
// otherwise biClrUsed when non-zero, else 2^biBitCount up to 8 bits, else 0; above 256 -> 0.
// A core header's table holds 3-byte entries, which the pixel offset steps over.
// nullopt when the block is too small for its header or its pixel data starts past the end.
std::optional<DibLayout> ReadDibLayout(std::span<const std::uint8_t> block);

}  // namespace inkra
