#pragma once
// JPEG files for tests, made with libjpeg's encoder (the product only decodes).
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace inkra::board::testing {

// A baseline JPEG of a solid colour, through libjpeg's encoder.
inline std::vector<std::uint8_t> MakeJpeg(int width, int height, std::uint8_t r, std::uint8_t g,
                                          std::uint8_t b) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = JDIMENSION(width);
  cinfo.image_height = JDIMENSION(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(std::size_t(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[x * 3] = r;
    row[x * 3 + 1] = g;
    row[x * 3 + 2] = b;
  }
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&cinfo);
  std::free(out);
  return bytes;
}

// A real JPEG whose frame header claims another size: libjpeg reads the header as it is, and
// fails only when it reaches the scan data, so anything that decodes before checking the size
// gives a different error.
inline std::vector<std::uint8_t> JpegClaiming(int width, int height) {
  std::vector<std::uint8_t> jpeg = MakeJpeg(16, 16, 90, 90, 90);
  for (std::size_t at = 2; at + 9 < jpeg.size(); ++at) {
    if (jpeg[at] == 0xFF && jpeg[at + 1] == 0xC0) {
      jpeg[at + 5] = std::uint8_t(height >> 8);
      jpeg[at + 6] = std::uint8_t(height);
      jpeg[at + 7] = std::uint8_t(width >> 8);
      jpeg[at + 8] = std::uint8_t(width);
      break;
    }
  }
  return jpeg;
}

// The file and information headers of a BMP of this size, depth and compression (0 = none,
// 1 = RLE8) with a grey palette where the depth needs one, and no pixels.
inline std::vector<std::uint8_t> BmpHeadersOf(int width, int height, int bitsPerPixel, std::uint32_t compression = 0) {
  const std::uint32_t paletteBytes = bitsPerPixel <= 8 ? (4u << bitsPerPixel) : 0;
  std::vector<std::uint8_t> b(54 + paletteBytes, 0);
  const auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(10, 54 + paletteBytes, 4);
  put(14, 40, 4);
  put(18, std::uint32_t(width), 4);
  put(22, std::uint32_t(height), 4);
  put(26, 1, 2);
  put(28, std::uint32_t(bitsPerPixel), 2);
  put(30, compression, 4);
  for (std::uint32_t i = 0; i < paletteBytes / 4; ++i) put(54 + 4 * i, i * 0x010101u, 4);
  return b;
}

}  // namespace inkra::board::testing
