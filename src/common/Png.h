#pragma once
// PNG files through libpng: 8-bit RGBA with straight alpha (ink over a transparent background)
// and opaque 8-bit RGB (a picture). The reader serves the tests and the fuzzer.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ByteSink.h"

namespace inkra {

// Rows of 8-bit channels, top-down, R G B (A) order, `stride` bytes apart. Not owned.
struct PngRows {
  const std::uint8_t* bits = nullptr;
  std::size_t stride = 0;
  int width = 0, height = 0;
  int channels = 4;  // 4: RGBA with straight alpha; 3: opaque RGB
};

// How hard zlib works. The defaults suit a signature: mostly transparent rows, where the Sub
// filter leaves long runs of zeros that zlib's fast levels already pack tightly.
struct PngSettings {
  int compressionLevel = 3;
  bool subFilterOnly = true;  // false: libpng's adaptive choice among all five filters
};

// Throws PictureError for a shape libpng refuses (empty, beyond the picture limits, bad channel
// count); the sink's own error (FileError) when writing fails. Never ends the process.
void WritePng(const PngRows& rows, ByteSink& sink, const PngSettings& settings = {});

struct PngImage {
  int width = 0, height = 0;
  int channels = 4;                  // 3 or 4: every file is expanded to 8-bit RGB or RGBA
  std::vector<std::uint8_t> pixels;  // tightly packed rows, top-down
};
// Throws PictureError for anything that is not a whole, valid PNG within the picture limits.
PngImage ReadPng(std::span<const std::uint8_t> file);

}  // namespace inkra
