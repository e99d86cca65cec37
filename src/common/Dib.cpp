// The layout of a packed DIB: header, colour table, pixels.
#include "Dib.h"

#include "BmpFormat.h"

namespace inkra {

std::optional<DibLayout> ReadDibLayout(std::span<const std::uint8_t> block) {
  bmp::Reader in(block, "DIB is truncated");
  if (!in.Has(0, 4)) return std::nullopt;
  DibLayout layout;
  layout.headerSize = in.U32(0);
  std::size_t entries = 0;
  if (layout.headerSize == bmp::kCoreHeaderSize) {
    if (!in.Has(0, bmp::kCoreHeaderSize)) return std::nullopt;
    layout.width = in.U16(4);
    layout.height = in.U16(6);
    layout.bitCount = in.U16(10);
    layout.entrySize = 3;
    entries = layout.bitCount < 32 ? std::size_t(1) << layout.bitCount : 0;
  } else {
    if (layout.headerSize < bmp::kInfoHeaderSize || !in.Has(0, layout.headerSize)) return std::nullopt;
    layout.width = in.I32(4);
    layout.height = in.I32(8);
    layout.bitCount = in.U16(14);
    layout.compression = in.U32(16);
    std::uint32_t used = in.U32(32);
    if (used != 0) entries = used;
    else if (layout.bitCount <= 8) entries = std::size_t(1) << layout.bitCount;
  }
  layout.colourEntries = entries > 256 ? 0 : entries;
  layout.pixelOffset = layout.headerSize + layout.entrySize * layout.colourEntries;
  if (layout.pixelOffset > block.size()) return std::nullopt;
  return layout;
}

}  // namespace inkra
