// ReadPng over arbitrary bytes: a picture whose pixels fill exactly its shape, or a
// PictureError, nothing else. A picture read is written again and must read back the same.
#include <cstddef>
#include <cstdint>

#include "Errors.h"
#include "Png.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const inkra::PngImage image = inkra::ReadPng({data, size});
    const std::size_t stride = std::size_t(image.width) * std::size_t(image.channels);
    if (image.pixels.size() != stride * std::size_t(image.height)) __builtin_trap();
    if (image.pixels.size() > (std::size_t(1) << 20)) return 0;  // keep each run quick
    inkra::VectorSink sink;
    inkra::WritePng({image.pixels.data(), stride, image.width, image.height, image.channels}, sink);
    if (inkra::ReadPng(sink.data).pixels != image.pixels) __builtin_trap();
  } catch (const inkra::PictureError&) {
  }
  return 0;
}
