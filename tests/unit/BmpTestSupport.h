#pragma once
// Helpers for the picture codec tests: ImageMagick and libjpeg's tools run as subprocesses,
// files in a per-process scratch folder, and little-endian byte building for crafted files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Bmp.h"
#include "ByteSink.h"
#include "Errors.h"

namespace inkra::test {

// The real ImageMagick: a stand-in named convert may come first on PATH.
inline const char* kConvert = "/usr/bin/convert";

inline bool HaveTool(const char* path) { return ::access(path, X_OK) == 0; }

inline std::filesystem::path ScratchDir() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::path(::testing::TempDir()) / ("inkra_codec_" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

inline std::string Quote(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

// Runs a shell command; its standard output as bytes, or fails the test.
inline std::vector<std::uint8_t> Capture(const std::string& command) {
  std::vector<std::uint8_t> out;
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run " << command;
    return out;
  }
  std::uint8_t buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.insert(out.end(), buffer, buffer + n);
  int status = ::pclose(pipe);
  EXPECT_EQ(status, 0) << command;
  return out;
}

// Runs `convert ARGS path` and returns the file's bytes.
inline std::vector<std::uint8_t> MakeWithConvert(const std::string& args, const std::string& name,
                                                 const std::string& prefix = "") {
  auto path = ScratchDir() / name;
  Capture(std::string(kConvert) + " " + args + " " + prefix + Quote(path));
  return ReadFileBytes(path);
}

// What ImageMagick reads from a file: 8-bit R, G, B, A per pixel, top-down.
inline std::vector<std::uint8_t> ImageMagickRgba(const std::filesystem::path& file) {
  return Capture(std::string(kConvert) + " " + Quote(file) + " -depth 8 rgba:-");
}

inline std::vector<std::uint8_t> ImageMagickRgba(const std::vector<std::uint8_t>& bytes, const std::string& name) {
  auto path = ScratchDir() / name;
  WriteFileBytes(path, bytes);
  return ImageMagickRgba(path);
}

// Compares R, G and B of every pixel (alpha is not kept by a Bitmap); returns the number of
// pixels that differ by more than the tolerance and reports the first.
inline int CountRgbDifferences(const std::vector<std::uint8_t>& expected, const std::vector<std::uint8_t>& actual,
                               int width, int tolerance = 0) {
  EXPECT_EQ(expected.size(), actual.size());
  int bad = 0;
  for (std::size_t i = 0; i + 3 < std::min(expected.size(), actual.size()); i += 4) {
    for (int c = 0; c < 3; ++c) {
      if (std::abs(int(expected[i + c]) - int(actual[i + c])) > tolerance) {
        if (bad++ == 0)
          ADD_FAILURE() << "pixel (" << (i / 4) % width << ", " << (i / 4) / width << ") channel " << c
                        << ": expected " << int(expected[i + c]) << ", got " << int(actual[i + c]);
        break;
      }
    }
  }
  return bad;
}

// Little-endian byte building for crafted files.
struct Bytes {
  std::vector<std::uint8_t> data;
  Bytes& U8(unsigned v) { data.push_back(std::uint8_t(v)); return *this; }
  Bytes& U16(unsigned v) { return U8(v & 0xFF).U8(v >> 8); }
  Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& Raw(std::initializer_list<std::uint8_t> v) { data.insert(data.end(), v); return *this; }
  Bytes& Fill(std::size_t n, std::uint8_t v) { data.insert(data.end(), n, v); return *this; }
};

// A BMP file with a 40-byte header; `extra` (masks, palette) and `pixels` follow the header.
// offBits 0 means right after `extra`.
struct BmpRecipe {
  std::int32_t width = 1, height = 1;
  unsigned planes = 1, bpp = 24;
  std::uint32_t compression = 0, coloursUsed = 0, offBits = 0;
  std::vector<std::uint8_t> extra{}, pixels{};
};

inline std::vector<std::uint8_t> CraftBmp(const BmpRecipe& s) {
  std::uint32_t off = s.offBits ? s.offBits : std::uint32_t(54 + s.extra.size());
  Bytes b;
  b.Raw({'B', 'M'}).U32(std::uint32_t(54 + s.extra.size() + s.pixels.size())).U32(0).U32(off);
  b.U32(40).U32(std::uint32_t(s.width)).U32(std::uint32_t(s.height)).U16(s.planes).U16(s.bpp);
  b.U32(s.compression).U32(std::uint32_t(s.pixels.size())).U32(0).U32(0).U32(s.coloursUsed).U32(0);
  b.data.insert(b.data.end(), s.extra.begin(), s.extra.end());
  b.data.insert(b.data.end(), s.pixels.begin(), s.pixels.end());
  return b.data;
}

// What ReadBmp says of a file it refuses, or "(read)".
inline std::string BmpErrorOf(const std::vector<std::uint8_t>& file) {
  try {
    ReadBmp(file);
  } catch (const PictureError& e) {
    return e.what();
  }
  return "(read)";
}

}  // namespace inkra::test
