// ReadBmp over arbitrary bytes; whatever it reads must write and read back the same, at the size
// and depth the board's size check reads from the headers.
#include <cstddef>
#include <cstdint>

#include "Bmp.h"
#include "Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  inkra::Bitmap bitmap;
  try {
    bitmap = inkra::ReadBmp({data, size});
  } catch (const inkra::PictureError&) {
    return 0;
  }
  const inkra::PictureShape shape = inkra::ReadBmpShape({data, size});  // must not throw: ReadBmp did not
  if (shape.width != bitmap.Width() || shape.height != bitmap.Height() || shape.bitsPerPixel != bitmap.BitsPerPixel())
    __builtin_trap();
  // A few bytes of RLE codes may describe a picture up to the 1 GiB limit; reading it was the
  // test. Round trips of such pictures would only measure memory and time.
  if (std::size_t(bitmap.Width()) * std::size_t(bitmap.Height()) > (std::size_t(1) << 20)) return 0;
  inkra::VectorSink sink;
  inkra::WriteBmp(bitmap, sink);
  inkra::Bitmap back = inkra::ReadBmp(sink.data);  // must not throw: we wrote it
  if (back.Pixels() != bitmap.Pixels() || back.Palette() != bitmap.Palette()) __builtin_trap();
  if (back.ToRGBA() != bitmap.ToRGBA()) __builtin_trap();
  return 0;
}
