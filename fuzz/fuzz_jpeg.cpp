// DecodeJpeg over arbitrary bytes: a picture or a PictureError, nothing else. The frame header the
// board's size check reads agrees with the picture decoded, whenever it finds one.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "Errors.h"
#include "Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<inkra::PictureShape> shape = inkra::ReadJpegShape({data, size});
  try {
    inkra::JpegPicture picture = inkra::DecodeJpeg({data, size});
    if (shape && (shape->width != picture.decoded.Width() || shape->height != picture.decoded.Height()))
      __builtin_trap();
    if (picture.original.size() != size || picture.decoded.BitsPerPixel() != 24) __builtin_trap();
    if (picture.decoded.Pixels().size() != picture.decoded.Stride() * std::size_t(picture.decoded.Height()))
      __builtin_trap();
  } catch (const inkra::PictureError&) {
  }
  return 0;
}
