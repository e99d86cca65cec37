#pragma once
// PNG files through libpng: 8-bit RGBA with straight alpha (ink over a transparent background)
// and opaque 8-bit RGB (a picture). The reader serves the tests and the fuzzer.
#include <cstddef>
#include <cstdint>
#include <memory>
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

// How the rows are filtered and packed. The defaults suit ink over a transparent page: mostly
// rows equal to the one above, which the Up filter turns into zeros, and zeros are what zlib's
// run-length strategy packs fastest. On a 2480 x 3508 signature they give 0.96 times the size of
// libpng's defaults (level 6, adaptive filters) in about a third of the time.
enum class PngFilter { None, Sub, Up, Adaptive };
struct PngSettings {
  int compressionLevel = 6;  // zlib's level, 0 (stored) to 9
  PngFilter filter = PngFilter::Up;
  bool runLength = true;     // zlib's run-length strategy instead of its default one
};

// Throws PictureError for a shape libpng refuses (empty, beyond the picture limits, bad channel
// count); the sink's own error (FileError) when writing fails. Never ends the process.
void WritePng(const PngRows& rows, ByteSink& sink, const PngSettings& settings = {});

// A PNG written a row at a time, so a large picture never exists whole: the same bytes WritePng
// gives for the same rows and settings, with the Up or no filter. A row equal to the one before
// is the commonest row of a signature (paper above, below and between the lines), and under the
// Up filter it is a known run of zeros: Repeat hands such rows on without looking at them.
// Each call throws as WritePng does; a writer that threw is spent.
class PngWriter {
 public:
  PngWriter(int width, int height, int channels, ByteSink& sink, const PngSettings& settings = {});
  ~PngWriter();
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;

  // The next row: width x channels bytes.
  void Row(const std::uint8_t* row);
  // `count` more rows equal to the last one written (or to a row of zeros, before the first).
  void Repeat(int count);
  // After the last row: the end of the file.
  void Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

struct PngImage {
  int width = 0, height = 0;
  int channels = 4;                  // 3 or 4: every file is expanded to 8-bit RGB or RGBA
  std::vector<std::uint8_t> pixels;  // tightly packed rows, top-down
};
// Throws PictureError for anything that is not a whole, valid PNG within the picture limits.
PngImage ReadPng(std::span<const std::uint8_t> file);

}  // namespace inkra
