#pragma once
// JPEG decoding through libjpeg. A JPEG picture keeps the bytes it was read from, so it can be
// written back exactly as it came.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
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

// Top-down rows of 24-bit BGR pixels, `stride` bytes apart, that a decoder fills.
struct JpegRows {
  std::uint8_t* bits = nullptr;
  std::size_t stride = 0;
};
// Gives the rows for a picture of this size; called once, after the header is read.
using JpegRowsFor = std::function<JpegRows(int width, int height)>;
// DecodeJpeg's decoding, into rows the caller owns (a drawing surface's, so the picture is
// not copied after). Returns the warning count; throws as DecodeJpeg does, the rows then
// holding whatever was decoded.
int DecodeJpegInto(std::span<const std::uint8_t> file, const JpegRowsFor& rowsFor);

// A JPEG for a preview: its size, and its pixels decoded at the strongest of libjpeg's DCT
// reductions (1/2, 1/4, 1/8) that still leaves the longer side at least `fitSide` pixels, so a
// preview never holds the full picture. A picture of more than maxPixels is refused with
// PictureError from its header alone, before any memory is taken for it.
struct JpegPreview {
  int width = 0, height = 0;  // of the picture itself
  Bitmap reduced;
};
JpegPreview DecodeJpegPreview(std::span<const std::uint8_t> file, int fitSide, std::uint64_t maxPixels);

// The width and height of the frame header (SOF), found by walking the markers from the start of
// the file, with the 24 bits every JPEG is decoded at. Nothing when the bytes end before the
// frame header or do not hold one where it belongs; the decoder then says what is wrong.
std::optional<PictureShape> ReadJpegShape(std::span<const std::uint8_t> head);

// True when the bytes start with the JPEG start-of-image marker.
bool LooksLikeJpeg(std::span<const std::uint8_t> file);

}  // namespace inkra
