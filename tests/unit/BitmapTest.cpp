#include "Bitmap.h"

#include <gtest/gtest.h>

#include "Errors.h"

namespace inkra {
namespace {

constexpr int kDepths[] = {1, 4, 8, 16, 24, 32};

TEST(Bitmap, NewBitmapIsWhiteAtEveryDepthWithZeroRowPadding) {
  for (int bpp : kDepths) {
    for (int width = 1; width <= 9; ++width) {
      Bitmap b(width, 3, bpp);
      ASSERT_EQ(b.Stride() % 4, 0u);
      ASSERT_GE(b.Stride() * 8, std::size_t(width * bpp));
      ASSERT_LT(b.Stride() * 8, std::size_t(width * bpp + 32));
      ASSERT_EQ(b.Pixels().size(), b.Stride() * 3);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < width; ++x) ASSERT_EQ(b.PixelRGB(x, y), 0xFFFFFFu) << bpp << " bpp, x " << x;
      std::size_t used = (std::size_t(width) * bpp + 7) / 8;
      for (std::size_t i = used; i < b.Stride(); ++i) EXPECT_EQ(b.Row(2)[i], 0) << bpp << " bpp";
    }
  }
}

TEST(Bitmap, DefaultPalettes) {
  Bitmap one(1, 1, 1), four(1, 1, 4), eight(1, 1, 8);
  ASSERT_EQ(one.Palette().size(), 2u);
  EXPECT_EQ(one.Palette()[0], (PaletteEntry{0, 0, 0, 0}));
  ASSERT_EQ(four.Palette().size(), 16u);
  EXPECT_EQ(four.Palette()[9], (PaletteEntry{0, 0, 255, 0}));   // bright red, BGR order
  EXPECT_EQ(four.Palette()[12], (PaletteEntry{255, 0, 0, 0}));  // bright blue
  ASSERT_EQ(eight.Palette().size(), 256u);
  EXPECT_EQ(eight.Palette()[100], (PaletteEntry{100, 100, 100, 0}));
  EXPECT_TRUE(Bitmap(1, 1, 24).Palette().empty());
}

TEST(Bitmap, PalettePixelsPackHighBitsFirst) {
  Bitmap one(10, 1, 1);
  one.Row(0)[0] = 0b1011'1111;  // pixel 1 black
  one.Row(0)[1] = 0b0111'1111;  // pixel 8 black
  EXPECT_EQ(one.PixelRGB(0, 0), 0xFFFFFFu);
  EXPECT_EQ(one.PixelRGB(1, 0), 0u);
  EXPECT_EQ(one.PixelRGB(8, 0), 0u);
  EXPECT_EQ(one.PixelRGB(9, 0), 0xFFFFFFu);

  Bitmap four(3, 1, 4);
  four.Row(0)[0] = 0x9C;  // pixel 0 = 9 (red), pixel 1 = 12 (blue)
  EXPECT_EQ(four.PixelRGB(0, 0), 0x0000FFu);
  EXPECT_EQ(four.PixelRGB(1, 0), 0xFF0000u);
  EXPECT_EQ(four.PixelRGB(2, 0), 0xFFFFFFu);
}

TEST(Bitmap, IndexPastThePaletteReadsBlack) {
  Bitmap b(2, 1, 8);
  b.Palette().resize(4);
  b.Palette()[3] = {10, 20, 30, 0};
  b.Row(0)[0] = 3;
  b.Row(0)[1] = 4;
  EXPECT_EQ(b.PixelRGB(0, 0), 0x0A141Eu);
  EXPECT_EQ(b.PixelRGB(1, 0), 0u);
}

TEST(Bitmap, SixteenBitChannelsWidenByRepeatingTheirBits) {
  Bitmap b(4, 1, 16);
  auto set = [&](int x, unsigned v) { b.Row(0)[2 * x] = std::uint8_t(v); b.Row(0)[2 * x + 1] = std::uint8_t(v >> 8); };
  set(0, 0x7C00);                    // 5-5-5 red full
  set(1, (16u << 5) | 1u);           // green 16 -> 132, blue 1 -> 8
  set(2, 0x8000);                    // top bit is not a channel
  EXPECT_EQ(b.PixelRGB(0, 0), 0x0000FFu);
  EXPECT_EQ(b.PixelRGB(1, 0), 0x088400u);
  EXPECT_EQ(b.PixelRGB(2, 0), 0u);
  b.Masks() = {0xF800, 0x07E0, 0x001F};  // 5-6-5
  set(3, 0x07E0);
  EXPECT_EQ(b.PixelRGB(3, 0), 0x00FF00u);
  set(3, 1u << 5);                   // smallest green step of 6 bits: 000001 -> 00000100
  EXPECT_EQ(b.PixelRGB(3, 0), 0x000400u);
}

TEST(Bitmap, ThirtyTwoBitMasksWiderThanEightBitsKeepTheirTopBits) {
  Bitmap b(2, 1, 32);
  b.Masks() = {0x3FF00000, 0x000FFC00, 0x000003FF};  // 10-10-10
  std::uint32_t px = (0x3FFu << 20) | (0x155u << 10) | 0x003u;
  for (int i = 0; i < 4; ++i) b.Row(0)[i] = std::uint8_t(px >> (8 * i));
  EXPECT_EQ(b.PixelRGB(0, 0), 0x0055FFu);  // blue 3 >> 2 = 0, green 0x155 >> 2 = 0x55
  b.Masks() = {};
  for (int i = 0; i < 4; ++i) b.Row(0)[4 + i] = std::uint8_t(0x00123456u >> (8 * i));
  EXPECT_EQ(b.PixelRGB(1, 0), 0x563412u);
}

TEST(Bitmap, ToRgbaMatchesPixelRgbAtEveryDepth) {
  for (int bpp : kDepths) {
    Bitmap b(5, 3, bpp);
    for (std::size_t i = 0; i < b.Pixels().size(); ++i) b.Pixels()[i] = std::uint8_t(i * 37 + 11);
    auto rgba = b.ToRGBA();
    ASSERT_EQ(rgba.size(), 5u * 3 * 4);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        std::uint32_t c = b.PixelRGB(x, y);
        const std::uint8_t* p = &rgba[(std::size_t(y) * 5 + x) * 4];
        EXPECT_EQ(p[0] | p[1] << 8 | p[2] << 16, int(c)) << bpp;
        EXPECT_EQ(p[3], 255);
      }
    }
  }
  Bitmap rgb(1, 1, 24);
  rgb.Row(0)[0] = 1, rgb.Row(0)[1] = 2, rgb.Row(0)[2] = 3;  // B, G, R
  EXPECT_EQ(rgb.ToRGBA(), (std::vector<std::uint8_t>{3, 2, 1, 255}));
}

TEST(Bitmap, LimitsAndDepths) {
  EXPECT_TRUE(WithinPictureLimits(30000, 30000, 8));
  EXPECT_FALSE(WithinPictureLimits(30000, 30000, 24));  // 2.7 GB of rows
  EXPECT_FALSE(WithinPictureLimits(30001, 1, 1));
  EXPECT_FALSE(WithinPictureLimits(1, 30001, 1));
  EXPECT_FALSE(WithinPictureLimits(-1, 1, 24));
  EXPECT_TRUE(WithinPictureLimits(0, 0, 24));
  EXPECT_THROW(Bitmap(30001, 1, 24), PictureError);
  EXPECT_THROW(Bitmap(1, -1, 24), PictureError);
  EXPECT_THROW(Bitmap(1, 1, 2), PictureError);
  EXPECT_THROW(Bitmap(1, 1, 64), PictureError);
  EXPECT_TRUE(Bitmap(0, 5, 24).Empty());
}

TEST(Bitmap, MaskRules) {
  EXPECT_EQ(DefaultMasks(16), (std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}));
  EXPECT_EQ(DefaultMasks(32), (std::array<std::uint32_t, 3>{0xFF0000, 0xFF00, 0xFF}));
  EXPECT_TRUE(ValidMasks({0xF800, 0x07E0, 0x001F}, 16));
  EXPECT_TRUE(ValidMasks({0xFFE00000, 0x001FFC00, 0x3FF}, 32));
  EXPECT_FALSE(ValidMasks({0xF800, 0x07E0, 0}, 16));          // zero
  EXPECT_FALSE(ValidMasks({0xF800, 0x0FE0, 0x001F}, 16));     // overlap
  EXPECT_FALSE(ValidMasks({0xF000, 0x0A00, 0x001F}, 16));     // gap in green
  EXPECT_FALSE(ValidMasks({0x1F0000, 0x07E0, 0x001F}, 16));   // outside 16 bits
  EXPECT_FALSE(ValidMasks({0xFF0000, 0xFF00, 0xFF}, 24));
}

}  // namespace
}  // namespace inkra
