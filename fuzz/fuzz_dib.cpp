// ReadDibLayout over arbitrary bytes: a layout it returns lies inside the block.
#include <cstddef>
#include <cstdint>

#include "Dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto layout = inkra::ReadDibLayout({data, size});
  if (!layout) return 0;
  if (layout->pixelOffset > size || layout->colourEntries > 256 || layout->headerSize > size) __builtin_trap();
  // Touch the colour table and the first pixel byte, so ASan sees any bad offset.
  volatile std::uint8_t sink = 0;
  for (std::size_t i = layout->headerSize; i < layout->pixelOffset; ++i) sink = sink ^ data[i];
  if (layout->pixelOffset < size) sink = sink ^ data[layout->pixelOffset];
  return 0;
}
