// Colour-table counting and pixel offsets of packed DIBs as a scanner delivers them.
#include "Dib.h"

#include <gtest/gtest.h>

#include "BmpTestSupport.h"

namespace inkra {
namespace {

using test::Bytes;

// A 40-byte BITMAPINFOHEADER followed by `tail` bytes of table and pixels.
std::vector<std::uint8_t> InfoDib(std::int32_t w, std::int32_t h, unsigned bits, std::uint32_t clrUsed,
                                  std::size_t tail, std::uint32_t compression = 0) {
  Bytes b;
  b.U32(40).U32(std::uint32_t(w)).U32(std::uint32_t(h)).U16(1).U16(bits).U32(compression).U32(0);
  b.U32(2835).U32(2835).U32(clrUsed).U32(0).Fill(tail, 0x55);
  return b.data;
}

TEST(DibLayout, TwentyFourBitsHaveNoTable) {
  auto dib = InfoDib(2480, -3508, 24, 0, 12);
  auto layout = ReadDibLayout(dib);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->width, 2480);
  EXPECT_EQ(layout->height, -3508);  // as the header states it
  EXPECT_EQ(layout->bitCount, 24);
  EXPECT_EQ(layout->headerSize, 40u);
  EXPECT_EQ(layout->colourEntries, 0u);
  EXPECT_EQ(layout->pixelOffset, 40u);
}

TEST(DibLayout, EightBitTables) {
  auto full = ReadDibLayout(InfoDib(4, 4, 8, 0, 1024 + 16));
  ASSERT_TRUE(full);
  EXPECT_EQ(full->colourEntries, 256u);
  EXPECT_EQ(full->pixelOffset, 40u + 1024);
  auto sixteen = ReadDibLayout(InfoDib(4, 4, 8, 16, 64 + 16));
  ASSERT_TRUE(sixteen);
  EXPECT_EQ(sixteen->colourEntries, 16u);
  EXPECT_EQ(sixteen->pixelOffset, 40u + 64);
  auto one = ReadDibLayout(InfoDib(8, 1, 1, 0, 8 + 4));
  ASSERT_TRUE(one);
  EXPECT_EQ(one->colourEntries, 2u);
  auto four = ReadDibLayout(InfoDib(8, 1, 4, 0, 64 + 4));
  ASSERT_TRUE(four);
  EXPECT_EQ(four->colourEntries, 16u);
}

TEST(DibLayout, TrueColourTablesOnlyWhenCountedAndNeverAbove256) {
  auto none = ReadDibLayout(InfoDib(1, 1, 32, 0, 4, 3));
  ASSERT_TRUE(none);
  EXPECT_EQ(none->colourEntries, 0u);
  EXPECT_EQ(none->compression, 3u);
  auto used = ReadDibLayout(InfoDib(1, 1, 32, 10, 44));
  ASSERT_TRUE(used);
  EXPECT_EQ(used->colourEntries, 10u);
  EXPECT_EQ(used->pixelOffset, 80u);
  auto many = ReadDibLayout(InfoDib(1, 1, 8, 257, 4));
  ASSERT_TRUE(many);
  EXPECT_EQ(many->colourEntries, 0u);
  EXPECT_EQ(many->pixelOffset, 40u);
}

TEST(DibLayout, LargerHeadersCountFromBiSize) {
  Bytes b;
  b.U32(124).U32(3).U32(3).U16(1).U16(8).U32(0).U32(0).U32(0).U32(0).U32(2).U32(0).Fill(124 - 40 + 8 + 12, 0);
  auto layout = ReadDibLayout(b.data);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->headerSize, 124u);
  EXPECT_EQ(layout->pixelOffset, 124u + 8);
}

TEST(DibLayout, CoreHeaderCountsByBitCountWithThreeByteEntries) {
  Bytes b;
  b.U32(12).U16(5).U16(7).U16(1).U16(4).Fill(16 * 3 + 28, 0);
  auto layout = ReadDibLayout(b.data);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->width, 5);
  EXPECT_EQ(layout->height, 7);
  EXPECT_EQ(layout->bitCount, 4);
  EXPECT_EQ(layout->colourEntries, 16u);
  EXPECT_EQ(layout->entrySize, 3u);
  EXPECT_EQ(layout->pixelOffset, 12u + 48);
  Bytes rgb;
  rgb.U32(12).U16(1).U16(1).U16(1).U16(24).Fill(4, 0);
  auto trueColour = ReadDibLayout(rgb.data);
  ASSERT_TRUE(trueColour);
  EXPECT_EQ(trueColour->colourEntries, 0u);  // 2^24 is above 256
}

TEST(DibLayout, BlocksTooSmallForHeaderOrTable) {
  EXPECT_FALSE(ReadDibLayout({}));
  EXPECT_FALSE(ReadDibLayout(Bytes().U16(40).data));
  auto dib = InfoDib(1, 1, 24, 0, 0);
  EXPECT_TRUE(ReadDibLayout(dib));  // pixels may start exactly at the end
  dib.pop_back();
  EXPECT_FALSE(ReadDibLayout(dib));
  EXPECT_FALSE(ReadDibLayout(InfoDib(4, 4, 8, 0, 1023)));  // table past the end
  EXPECT_FALSE(ReadDibLayout(Bytes().U32(12).U16(1).U16(1).data));
  EXPECT_FALSE(ReadDibLayout(Bytes().U32(12).U16(1).U16(1).U16(1).U16(8).Fill(255 * 3, 0).data));
  EXPECT_FALSE(ReadDibLayout(Bytes().U32(0xFFFFFFFF).Fill(60, 0).data));
  EXPECT_FALSE(ReadDibLayout(Bytes().U32(20).Fill(60, 0).data));
}

}  // namespace
}  // namespace inkra
