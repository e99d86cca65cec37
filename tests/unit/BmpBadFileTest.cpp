// Every kind of malformed BMP file is refused with a message that names what is wrong.
#include <gtest/gtest.h>

#include <climits>

#include "BmpTestSupport.h"
#include "Bmp.h"

namespace inkra {
namespace {

using test::BmpRecipe;
using test::Bytes;
using test::CraftBmp;
const auto ErrorOf = test::BmpErrorOf;

const std::string kRange = "BMP width or height out of range (limit 30000 x 30000, 1 GiB)";
const std::string kMasks = "BMP bit masks are zero or overlap";

std::vector<std::uint8_t> Masks(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return Bytes().U32(r).U32(g).U32(b).data;
}

TEST(BmpBadFile, SignatureAndTruncation) {
  EXPECT_EQ(ErrorOf({}), "Not a BMP file (it does not start with \"BM\")");
  EXPECT_EQ(ErrorOf({'P', 'K', 3, 4}), "Not a BMP file (it does not start with \"BM\")");
  EXPECT_EQ(ErrorOf({'B', 'M', 0, 0}), "BMP file is truncated");

  auto file = CraftBmp({.width = 2, .height = 2, .pixels = std::vector<std::uint8_t>(16, 0)});
  ASSERT_EQ(ErrorOf(file), "(read)");
  for (std::size_t cut : {std::size_t(13), std::size_t(17), std::size_t(40), file.size() - 1}) {
    std::vector<std::uint8_t> shorter(file.begin(), file.begin() + std::ptrdiff_t(cut));
    EXPECT_EQ(ErrorOf(shorter), "BMP file is truncated") << cut;
  }
  // A palette, then the end of the file before the pixel offset.
  auto pal = CraftBmp({.width = 1, .height = 1, .bpp = 8, .coloursUsed = 4, .offBits = 70,
                       .extra = std::vector<std::uint8_t>(8, 0)});
  EXPECT_EQ(ErrorOf(pal), "BMP pixel data offset is past the end of the file");
}

TEST(BmpBadFile, PixelOffset) {
  BmpRecipe recipe{.width = 1, .height = 1, .pixels = {1, 2, 3, 0}};
  recipe.offBits = 59;
  EXPECT_EQ(ErrorOf(CraftBmp(recipe)), "BMP pixel data offset is past the end of the file");
  recipe.offBits = 0xFFFFFFFF;
  EXPECT_EQ(ErrorOf(CraftBmp(recipe)), "BMP pixel data offset is past the end of the file");
  recipe.offBits = 55;  // inside the file, but the rows do not fit after it
  EXPECT_EQ(ErrorOf(CraftBmp(recipe)), "BMP file is truncated");
  recipe.offBits = 20;
  EXPECT_EQ(ErrorOf(CraftBmp(recipe)), "BMP pixel data offset points into the header");
  recipe.offBits = 54;
  EXPECT_EQ(ReadBmp(CraftBmp(recipe)).PixelRGB(0, 0), 0x010203u);
}

TEST(BmpBadFile, Dimensions) {
  auto withSize = [](std::int32_t w, std::int32_t h, unsigned bpp = 24) {
    return ErrorOf(CraftBmp({.width = w, .height = h, .bpp = bpp, .pixels = std::vector<std::uint8_t>(64, 0)}));
  };
  EXPECT_EQ(withSize(0, 1), kRange);
  EXPECT_EQ(withSize(-1, 1), kRange);
  EXPECT_EQ(withSize(1, 0), kRange);
  EXPECT_EQ(withSize(1, INT_MIN), kRange);
  EXPECT_EQ(withSize(INT_MAX, 1), kRange);
  EXPECT_EQ(withSize(30001, 1), kRange);
  EXPECT_EQ(withSize(1, -30001), kRange);
  EXPECT_EQ(withSize(30000, 30000), kRange);  // 2.7 GB of rows
  EXPECT_EQ(withSize(30000, 18000, 16), kRange);                   // 1.08e9 bytes > 1 GiB
  EXPECT_EQ(withSize(30000, 17000, 16), "BMP file is truncated");  // within the limits
  EXPECT_EQ(withSize(30000, 1), "BMP file is truncated");
}

TEST(BmpBadFile, HeaderFields) {
  auto file = CraftBmp({.pixels = {0, 0, 0, 0}});
  auto patched = [&](std::size_t at, std::uint8_t v) { auto f = file; f[at] = v; return ErrorOf(f); };
  EXPECT_EQ(patched(14, 20), "BMP header size 20 is not supported");
  EXPECT_EQ(patched(14, 0), "BMP header size 0 is not supported");
  EXPECT_EQ(patched(26, 2), "BMP planes field must be 1 (it is 2)");
  EXPECT_EQ(patched(28, 2), "BMP bit depth of 2 bits is not supported");
  EXPECT_EQ(patched(28, 64), "BMP bit depth of 64 bits is not supported");
  EXPECT_EQ(patched(28, 0), "BMP bit depth of 0 bits is not supported");
  EXPECT_EQ(patched(30, 4), "BMP with JPEG data is not supported");
  EXPECT_EQ(patched(30, 5), "BMP with PNG data is not supported");
  EXPECT_EQ(patched(30, 9), "BMP compression method 9 is not supported");
  EXPECT_EQ(patched(30, 1), "BMP RLE8 compression needs 8 bits per pixel");
  EXPECT_EQ(patched(30, 2), "BMP RLE4 compression needs 4 bits per pixel");
  EXPECT_EQ(patched(30, 3), "BMP bit masks need 16 or 32 bits per pixel");
  EXPECT_EQ(ErrorOf(CraftBmp({.width = 2, .height = -1, .bpp = 8, .compression = 1, .extra = {0, 0, 0, 0},
                              .pixels = {0, 1}})),
            "BMP top-down picture cannot be run-length compressed");
}

TEST(BmpBadFile, Masks) {
  auto withMasks = [](unsigned bpp, std::vector<std::uint8_t> masks,
                      std::vector<std::uint8_t> pixels = {0, 0, 0, 0}) {
    return ErrorOf(CraftBmp({.width = 1, .height = 1, .bpp = bpp, .compression = 3, .extra = masks,
                             .pixels = pixels}));
  };
  EXPECT_EQ(withMasks(16, Masks(0xF800, 0x07E0, 0)), kMasks);
  EXPECT_EQ(withMasks(32, Masks(0, 0, 0)), kMasks);
  EXPECT_EQ(withMasks(16, Masks(0xF800, 0x0FE0, 0x1F)), kMasks);
  EXPECT_EQ(withMasks(32, Masks(0xFF0000, 0xFF00, 0xFF0000)), kMasks);
  EXPECT_EQ(withMasks(16, Masks(0xF000, 0x0A00, 0x1F)), "BMP bit masks are not contiguous or do not fit the pixel size");
  EXPECT_EQ(withMasks(16, Masks(0xF0000, 0xFF00, 0xFF)), "BMP bit masks are not contiguous or do not fit the pixel size");
  EXPECT_EQ(withMasks(16, Bytes().U32(0xF800).U32(0x7E0).data, {}), "BMP file is truncated");
  EXPECT_EQ(withMasks(16, Masks(0xF800, 0x07E0, 0x1F)), "(read)");
}

TEST(BmpBadFile, Palette) {
  // Three colours are more than one bit can name.
  EXPECT_EQ(ErrorOf(CraftBmp({.width = 1, .height = 1, .bpp = 1, .coloursUsed = 3,
                              .extra = std::vector<std::uint8_t>(12, 0), .pixels = {0, 0, 0, 0}})),
            "BMP palette has 3 colours, more than the 2 that 1-bit pixels can name");
  EXPECT_EQ(ErrorOf(CraftBmp({.width = 1, .height = 1, .bpp = 8, .coloursUsed = 0x12345678,
                              .pixels = {0, 0, 0, 0}})),
            "BMP palette has 305419896 colours, more than the 256 that 8-bit pixels can name");
  // No room for a palette before the pixels.
  EXPECT_EQ(ErrorOf(CraftBmp({.width = 1, .height = 1, .bpp = 8, .pixels = {0, 0, 0, 0}})),
            "BMP palette is missing");
  // No pixel offset, and the file ends inside the last palette entry (found by fuzzing: the
  // pixels would have started past the end).
  auto noOffset = CraftBmp({.width = 1, .height = 1, .bpp = 8, .compression = 1, .coloursUsed = 1,
                            .extra = {10, 20, 30}});
  noOffset[10] = 0;
  EXPECT_EQ(ErrorOf(noOffset), "BMP file is truncated");
  noOffset.push_back(0);  // the entry complete, then no pixel data at all: an empty picture
  EXPECT_EQ(ReadBmp(noOffset).PixelRGB(0, 0), 0x0A141Eu);  // blue 10, green 20, red 30
  // Pixel index 2 of a two-colour palette.
  EXPECT_EQ(ErrorOf(CraftBmp({.width = 2, .height = 1, .bpp = 8, .coloursUsed = 2,
                              .extra = std::vector<std::uint8_t>(8, 0), .pixels = {1, 2, 0, 0}})),
            "BMP pixel refers to colour 2 of a palette of 2");
}

}  // namespace
}  // namespace inkra
