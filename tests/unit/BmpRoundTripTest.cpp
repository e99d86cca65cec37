// Writing and reading back BMP files, and ImageMagick reading what we write.
#include <gtest/gtest.h>

#include <random>

#include "BmpTestSupport.h"
#include "Bmp.h"
#include "Errors.h"

namespace inkra {
namespace {

using test::Bytes;

std::vector<std::uint8_t> Write(const Bitmap& b) {
  VectorSink sink;
  WriteBmp(b, sink);
  return sink.data;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& f, std::size_t at) {
  return f[at] | f[at + 1] << 8 | f[at + 2] << 16 | std::uint32_t(f[at + 3]) << 24;
}

Bitmap Noise(int width, int height, int bpp, std::uint32_t seed) {
  Bitmap b(width, height, bpp);
  std::mt19937 random(seed);
  for (auto& byte : b.Pixels()) byte = std::uint8_t(random());
  for (auto& e : b.Palette()) e = {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()), 0};
  return b;
}

TEST(BmpRoundTrip, EveryDepthAndRowPaddingReadsBackExactly) {
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    for (int width = 1; width <= 5; ++width) {
      for (int height = 1; height <= 3; ++height) {
        Bitmap original = Noise(width, height, bpp, std::uint32_t(bpp * 100 + width * 10 + height));
        auto file = Write(original);
        ASSERT_EQ(file.size(), U32At(file, 2));
        Bitmap back = ReadBmp(file);
        ASSERT_EQ(back.Width(), width);
        ASSERT_EQ(back.Height(), height);
        ASSERT_EQ(back.BitsPerPixel(), bpp);
        EXPECT_EQ(back.Palette(), original.Palette()) << bpp;
        EXPECT_EQ(back.Pixels(), original.Pixels()) << bpp << " bpp, " << width << " x " << height;
      }
    }
  }
}

TEST(BmpRoundTrip, HeaderFieldsAndBottomUpRows) {
  Bitmap b(3, 2, 8);
  b.Palette().resize(5);
  b.Palette()[4] = {1, 2, 3, 99};  // the reserved byte is written as 0
  b.Row(0)[0] = 4;                 // top row
  b.Row(1)[0] = 2;
  auto f = Write(b);
  ASSERT_EQ(f.size(), 14u + 40 + 5 * 4 + 2 * 4);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(U32At(f, 10), 74u);   // bfOffBits
  EXPECT_EQ(U32At(f, 14), 40u);   // biSize
  EXPECT_EQ(U32At(f, 18), 3u);    // width
  EXPECT_EQ(U32At(f, 22), 2u);    // positive height: bottom-up
  EXPECT_EQ(f[26] | f[27] << 8, 1);
  EXPECT_EQ(f[28] | f[29] << 8, 8);
  EXPECT_EQ(U32At(f, 30), 0u);    // BI_RGB
  EXPECT_EQ(U32At(f, 34), 8u);    // biSizeImage
  EXPECT_EQ(U32At(f, 46), 5u);    // biClrUsed
  EXPECT_EQ((std::vector<std::uint8_t>(f.begin() + 70, f.begin() + 74)), (std::vector<std::uint8_t>{1, 2, 3, 0}));
  EXPECT_EQ(f[74], 2);            // the bottom row comes first
  EXPECT_EQ(f[78], 4);
}

TEST(BmpRoundTrip, MasksAreWrittenOnlyWhenTheyDifferFromTheDefault) {
  Bitmap plain(2, 1, 16);
  auto f = Write(plain);
  EXPECT_EQ(U32At(f, 30), 0u);
  EXPECT_EQ(U32At(f, 10), 54u);

  plain.Masks() = DefaultMasks(16);
  EXPECT_EQ(Write(plain), f);

  Bitmap b565(2, 1, 16);
  b565.Masks() = {0xF800, 0x07E0, 0x001F};
  b565.Row(0)[0] = 0xE0, b565.Row(0)[1] = 0x07;  // pure green
  f = Write(b565);
  EXPECT_EQ(U32At(f, 30), 3u);  // BI_BITFIELDS
  EXPECT_EQ(U32At(f, 10), 66u);
  EXPECT_EQ(U32At(f, 54), 0xF800u);
  EXPECT_EQ(U32At(f, 58), 0x07E0u);
  EXPECT_EQ(U32At(f, 62), 0x001Fu);
  Bitmap back = ReadBmp(f);
  EXPECT_EQ(back.Masks(), b565.Masks());
  EXPECT_EQ(back.PixelRGB(0, 0), 0x00FF00u);
}

TEST(BmpRoundTrip, TopDownAndBottomUpFilesGiveTheSameRows) {
  Bytes rows;  // two rows of 1 x 24-bit, padded to 4 bytes: first red, then blue
  rows.Raw({0, 0, 255, 0, 255, 0, 0, 0});
  test::BmpRecipe recipe{.width = 1, .height = 2, .pixels = rows.data};
  Bitmap bottomUp = ReadBmp(test::CraftBmp(recipe));
  recipe.height = -2;
  Bitmap topDown = ReadBmp(test::CraftBmp(recipe));
  EXPECT_EQ(bottomUp.PixelRGB(0, 1), 0x0000FFu);  // first stored row is the bottom one
  EXPECT_EQ(bottomUp.PixelRGB(0, 0), 0xFF0000u);
  EXPECT_EQ(topDown.PixelRGB(0, 0), 0x0000FFu);
  EXPECT_EQ(topDown.PixelRGB(0, 1), 0xFF0000u);
}

TEST(BmpRoundTrip, EmptyOrInconsistentBitmapsAreNotWritten) {
  VectorSink sink;
  EXPECT_THROW(WriteBmp(Bitmap(), sink), PictureError);
  Bitmap b(2, 2, 24);
  b.Pixels().pop_back();
  EXPECT_THROW(WriteBmp(b, sink), PictureError);
}

TEST(BmpRoundTrip, ImageMagickReadsOurFilesToTheSamePixels) {
  if (!test::HaveTool(test::kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    Bitmap b = Noise(5, 3, bpp, std::uint32_t(bpp));
    if (bpp == 32) b.Masks() = {0xFF, 0xFF00, 0xFF0000};  // red in the low byte: BI_BITFIELDS
    auto name = "written" + std::to_string(bpp) + ".bmp";
    auto theirs = test::ImageMagickRgba(Write(b), name);
    EXPECT_EQ(test::CountRgbDifferences(theirs, b.ToRGBA(), 5), 0) << bpp << " bpp";
  }
}

}  // namespace
}  // namespace inkra
