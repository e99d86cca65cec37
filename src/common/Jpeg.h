#pragma once
// JPEG decoding through libjpeg. A JPEG picture keeps the bytes it was read from, so it can be
// written back exactly as it came.
#include <cstdint>
#include <span>
#include <vector>

#include "Bitmap.h"

namespace inkra {

struct JpegPicture {
  std::vector<std::uint8_t> original;  // the file's bytes, written back unchanged
  Bitmap decoded;                      // 24 bits per pixel, for display and drawing
  int warnings = 0;                    // libjpeg's warnings (corrupt data it decoded around)
};

// Throws PictureError with libjpeg's message on a bad file, or when the picture exceeds the
// size limits of Bitmap.h. Never ends the process; libjpeg's warnings are not printed, only
// counted, except a premature end of the data, which is refused as a truncated file.
// Greyscale, RGB, YCbCr, CMYK and YCCK files all come out as RGB (BGR bytes, like a DIB).
JpegPicture DecodeJpeg(std::span<const std::uint8_t> file);

// True when the bytes start with the JPEG start-of-image marker.
bool LooksLikeJpeg(std::span<const std::uint8_t> file);

}  // namespace inkra
