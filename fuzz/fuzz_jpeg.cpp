// DecodeJpeg over arbitrary bytes: a picture or a PictureError, nothing else.
#include <cstddef>
#include <cstdint>

#include "Errors.h"
#include "Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    inkra::JpegPicture picture = inkra::DecodeJpeg({data, size});
    if (picture.original.size() != size || picture.decoded.BitsPerPixel() != 24) __builtin_trap();
    if (picture.decoded.Pixels().size() != picture.decoded.Stride() * std::size_t(picture.decoded.Height()))
      __builtin_trap();
  } catch (const inkra::PictureError&) {
  }
  return 0;
}
