// Run-length compressed BMP files: runs, absolute runs, end of line, delta, end of bitmap.
#include <gtest/gtest.h>

#include "BmpTestSupport.h"
#include "Bmp.h"

namespace inkra {
namespace {

using test::BmpRecipe;
using test::CraftBmp;
const auto ErrorOf = test::BmpErrorOf;

std::vector<std::uint8_t> GreyPalette(int n) {
  std::vector<std::uint8_t> p;
  for (int i = 0; i < n; ++i) p.insert(p.end(), {std::uint8_t(i * 16), std::uint8_t(i * 16), std::uint8_t(i * 16), 0});
  return p;
}

std::vector<std::uint8_t> Rle(int width, int height, bool rle4, std::vector<std::uint8_t> data) {
  return CraftBmp({.width = width, .height = height, .bpp = rle4 ? 4u : 8u, .compression = rle4 ? 2u : 1u,
                   .coloursUsed = 16, .extra = GreyPalette(16), .pixels = std::move(data)});
}

// Palette indices of a row, read through the grey palette (index i is grey i * 16).
std::vector<int> Indices(const Bitmap& b, int y) {
  std::vector<int> out;
  for (int x = 0; x < b.Width(); ++x) out.push_back(int(b.PixelRGB(x, y) & 0xFF) / 16);
  return out;
}

TEST(BmpRle, Rle8RunsAbsoluteRunsEndOfLineDeltaAndEnd) {
  Bitmap b = ReadBmp(Rle(4, 3, false, {
      2, 1, 0, 0,                   // bottom row: two 1s, the rest skipped; end of line
      0, 3, 2, 3, 1, 0, 1, 2, 0, 0, // absolute 2 3 1 (padded to even), then one 2
      0, 2, 1, 0,                   // delta: one right -> (1, 2)
      1, 3, 0, 1}));                // one 3, end of bitmap
  EXPECT_EQ(b.BitsPerPixel(), 8);
  EXPECT_EQ(Indices(b, 0), (std::vector<int>{0, 3, 0, 0}));
  EXPECT_EQ(Indices(b, 1), (std::vector<int>{2, 3, 1, 2}));
  EXPECT_EQ(Indices(b, 2), (std::vector<int>{1, 1, 0, 0}));
}

TEST(BmpRle, Rle4AlternatesNibbles) {
  Bitmap b = ReadBmp(Rle(5, 2, true, {
      5, 0x12, 0, 0,                // 1 2 1 2 1
      0, 3, 0x34, 0x50,             // absolute 3 4 5: two bytes, already even
      2, 0x67, 0, 1}));             // 6 7, end
  EXPECT_EQ(b.BitsPerPixel(), 4);
  EXPECT_EQ(Indices(b, 0), (std::vector<int>{3, 4, 5, 6, 7}));
  EXPECT_EQ(Indices(b, 1), (std::vector<int>{1, 2, 1, 2, 1}));
  // An absolute run of 5 nibbles takes 3 bytes, padded to 4.
  Bitmap c = ReadBmp(Rle(5, 1, true, {0, 5, 0x98, 0x76, 0x50, 0xEE, 0, 1}));
  EXPECT_EQ(Indices(c, 0), (std::vector<int>{9, 8, 7, 6, 5}));
}

TEST(BmpRle, RunsIntoTheRowPaddingAreDropped) {
  Bitmap b = ReadBmp(Rle(3, 2, false, {4, 7, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1}));
  EXPECT_EQ(Indices(b, 1), (std::vector<int>{7, 7, 7}));
  EXPECT_EQ(Indices(b, 0), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(b.Row(0)[3], 0);  // the padding stays clear
  Bitmap c = ReadBmp(Rle(5, 1, true, {8, 0x12, 0, 1}));
  EXPECT_EQ(Indices(c, 0), (std::vector<int>{1, 2, 1, 2, 1}));
}

TEST(BmpRle, DataEndingBetweenCodesEndsThePicture) {
  Bitmap b = ReadBmp(Rle(2, 2, false, {2, 5}));
  EXPECT_EQ(Indices(b, 1), (std::vector<int>{5, 5}));
  EXPECT_EQ(Indices(b, 0), (std::vector<int>{0, 0}));
}

TEST(BmpRle, RunsThatLeaveTheRowOrPictureAreRefused) {
  const std::string row = "BMP run-length data runs past the end of a row";
  const std::string picture = "BMP run-length data runs past the end of the picture";
  const std::string delta = "BMP run-length delta moves past the end of the picture";
  EXPECT_EQ(ErrorOf(Rle(4, 1, false, {5, 1})), row);
  EXPECT_EQ(ErrorOf(Rle(4, 1, false, {3, 1, 2, 1})), row);
  EXPECT_EQ(ErrorOf(Rle(4, 1, false, {0, 5, 1, 1, 1, 1, 1, 0})), row);
  EXPECT_EQ(ErrorOf(Rle(5, 1, true, {9, 0x11})), row);  // 8 nibbles with the padding
  EXPECT_EQ(ErrorOf(Rle(4, 1, false, {0, 0, 1, 1})), picture);
  EXPECT_EQ(ErrorOf(Rle(4, 1, false, {0, 0, 0, 0})), picture);
  EXPECT_EQ(ErrorOf(Rle(4, 2, false, {0, 2, 5, 0})), delta);
  EXPECT_EQ(ErrorOf(Rle(4, 2, false, {0, 2, 0, 3})), delta);
  EXPECT_EQ(ErrorOf(Rle(4, 2, false, {0, 2, 0, 2, 1, 1})), picture);  // delta to just above the top
}

TEST(BmpRle, DataCutInsideACodeIsTruncated) {
  const std::string truncated = "BMP file is truncated";
  EXPECT_EQ(ErrorOf(Rle(4, 1, false, {2})), truncated);
  EXPECT_EQ(ErrorOf(Rle(4, 1, false, {0, 2, 1})), truncated);
  EXPECT_EQ(ErrorOf(Rle(4, 1, false, {0, 4, 1, 2})), truncated);
  EXPECT_EQ(ErrorOf(Rle(8, 1, true, {0, 7, 0x12, 0x34})), truncated);
}

TEST(BmpRle, IndicesPastTheFilesPaletteAreRefused) {
  auto file = CraftBmp({.width = 2, .height = 1, .bpp = 8, .compression = 1, .coloursUsed = 4,
                        .extra = GreyPalette(4), .pixels = {2, 7, 0, 1}});
  EXPECT_EQ(ErrorOf(file), "BMP pixel refers to colour 7 of a palette of 4");
}

}  // namespace
}  // namespace inkra
