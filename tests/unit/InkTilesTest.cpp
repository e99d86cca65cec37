// Ink tiles packed for the undo history come back exactly, at any place in the rows, and cost
// little where there is little ink.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Bitmap.h"
#include "InkTiles.h"

namespace inkra::board {
namespace {

PixelRows RowsOf(Bitmap& b) { return {b.Pixels().data(), b.Stride(), b.Width(), b.Height(), 32}; }

TEST(InkTiles, PackedTilesComeBackExactlyAndTouchNothingElse) {
  const struct {
    const char* name;
    std::uint8_t (*byte)(int x, int y, int channel);
  } patterns[] = {
      {"paper", [](int, int, int) { return std::uint8_t(0); }},
      {"solid ink", [](int, int, int c) { return std::uint8_t(c == 3 ? 255 : 40 * c); }},
      {"every pixel its own", [](int x, int y, int c) { return std::uint8_t(x * 7 + y * 13 + c); }},
      {"a stroke's edge", [](int x, int y, int c) { return std::uint8_t(x == y || x == y + 1 ? 60 + 50 * c : 0); }},
  };
  // A tile inside the rows, and one cut short by their right and bottom edges.
  const TilePlace places[] = {{32, 32, 32 * 4, 32 * 4}, {64, 6, 64 * 4, 6 * 4}};
  for (const auto& p : patterns) {
    for (const TilePlace& place : places) {
      SCOPED_TRACE(std::string(p.name) + " at row " + std::to_string(place.y));
      Bitmap original(70, 70, 32);
      for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 70; ++x)
          for (int c = 0; c < 4; ++c) original.Row(y)[x * 4 + c] = p.byte(x, y, c);
      Bitmap rows = original;
      const std::vector<std::uint8_t> packed = PackInkTile(ReadOnly(RowsOf(rows)), place);
      for (int y = place.y; y < place.y + place.height; ++y)
        std::fill_n(rows.Row(y) + place.offset, place.rowBytes, std::uint8_t(0xA5));
      UnpackInkTile(packed, RowsOf(rows), place);
      EXPECT_EQ(rows.Pixels(), original.Pixels());
      EXPECT_LE(packed.size(), place.rowBytes * std::size_t(place.height) + 2 * std::size_t(place.height));
    }
  }
}

TEST(InkTiles, OnePixelRepeatedTakesOneRunUpToItsLongest) {
  Bitmap rows(200, 200, 32);
  EXPECT_EQ(PackInkTile(ReadOnly(RowsOf(rows)), {0, 32, 0, 128}).size(), 6u);
  // A whole layer's box, 40,000 pixels: two runs, and back as it was.
  const TilePlace all{0, 200, 0, 800};
  const std::vector<std::uint8_t> packed = PackInkTile(ReadOnly(RowsOf(rows)), all);
  EXPECT_EQ(packed.size(), 12u);
  const Bitmap white = rows;
  std::fill(rows.Pixels().begin(), rows.Pixels().end(), std::uint8_t(0));
  UnpackInkTile(packed, RowsOf(rows), all);
  EXPECT_EQ(rows.Pixels(), white.Pixels());
}

}  // namespace
}  // namespace inkra::board
