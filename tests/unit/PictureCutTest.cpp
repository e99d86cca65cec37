// Cutting the board's output: the box of the ink, and the straddle seal's slices laid side by
// side giving back the picture.
#include <gtest/gtest.h>

#include "Bmp.h"
#include "ByteSink.h"
#include "Errors.h"
#include "PictureCut.h"
#include "Png.h"

namespace inkra {
namespace {

// A transparent 600 x 258 page with ink over `ink`, each pixel telling its place.
std::vector<std::uint8_t> InkPng(Rect ink, int channels = 4) {
  constexpr int w = 600, h = 258;
  std::vector<std::uint8_t> px(std::size_t(w) * h * channels, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = px.data() + (std::size_t(y) * w + x) * channels;
      p[0] = std::uint8_t(x), p[1] = std::uint8_t(y), p[2] = std::uint8_t(x ^ y);
      if (channels == 4) p[3] = x >= ink.left && x < ink.right && y >= ink.top && y < ink.bottom ? 200 : 0;
    }
  VectorSink sink;
  WritePng({px.data(), std::size_t(w) * channels, w, h, channels}, sink);
  return sink.data;
}

TEST(InkCrop, CutToTheInkPlusTwoPixelsInsideThePicture) {
  const Rect whole{0, 0, 600, 258};
  const struct {
    const char* name;
    Rect ink, box;
  } cases[] = {
      {"small signature in a corner", {500, 200, 540, 230}, {498, 198, 542, 232}},
      {"at the top left edge", {0, 0, 5, 5}, {0, 0, 7, 7}},
      {"over the whole board", {1, 1, 599, 257}, whole},
      {"blank board", {}, whole},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::uint8_t> file = InkPng(c.ink);
    const InkCrop crop = CropPngToInk(file);
    EXPECT_EQ(std::tuple(crop.box, crop.Cut(), crop.fullWidth), std::tuple(c.box, !(c.box == whole), 600));
    if (!crop.Cut()) continue;
    // The kept pixels are the picture's own, from the box's place.
    const PngImage all = ReadPng(file), cut = ReadPng(crop.png);
    ASSERT_EQ(std::pair(cut.width, cut.height), std::pair(c.box.right - c.box.left, c.box.bottom - c.box.top));
    for (int y = 0; y < cut.height; ++y)
      ASSERT_TRUE(std::equal(cut.pixels.begin() + std::ptrdiff_t(y) * cut.width * 4,
                             cut.pixels.begin() + std::ptrdiff_t(y + 1) * cut.width * 4,
                             all.pixels.begin() + (std::ptrdiff_t(y + c.box.top) * 600 + c.box.left) * 4));
  }
  // An opened or scanned picture is opaque: whole.
  EXPECT_FALSE(CropPngToInk(InkPng({}, 3)).Cut());
  EXPECT_THROW(CropPngToInk(std::vector<std::uint8_t>{'B', 'M', 0, 0}), PictureError);
}

// A box measured on the view, cut from the picture drawn 1.5625 times larger (600 x 258 from
// 384 x 165): never fewer pixels than the box's share, starting where the box starts.
TEST(InkCrop, CutAtALargerScaleKeepsAtLeastTheBoxsShare) {
  const std::vector<std::uint8_t> file = InkPng({0, 0, 600, 258});
  for (const Rect box : {Rect{1, 1, 2, 2}, Rect{3, 5, 260, 100}, Rect{0, 0, 384, 165}}) {
    const PngImage cut = ReadPng(CutPngAt(file, box, 384, 165));
    EXPECT_GE(cut.width, (box.right - box.left) * 600.0 / 384) << box.left;
    EXPECT_GE(cut.height, (box.bottom - box.top) * 258.0 / 165) << box.left;
    EXPECT_LE(cut.width, (box.right - box.left) * 600.0 / 384 + 2) << box.left;
    EXPECT_EQ(cut.pixels[0], std::uint8_t(box.left * 600 / 384)) << box.left;  // its column
  }
}

TEST(StraddleSlices, OneSlicePerPageCoveringThePictureOncePerGroup) {
  const struct {
    const char* name;
    int pages, width, maxPerGroup;
    std::vector<int> groups;  // pages in each group, in order
  } cases[] = {
      {"one page", 1, 400, 10, {1}},
      {"two pages", 2, 401, 10, {2}},
      {"seven pages", 7, 400, 10, {7}},
      {"twenty-five pages in even groups", 25, 400, 10, {9, 8, 8}},
      {"narrow seal: every page the whole picture", 3, 400, 1, {1, 1, 1}},
      {"fewer columns than pages", 5, 3, 10, {3, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Slice> slices = StraddleSlices(c.pages, c.width, c.maxPerGroup);
    ASSERT_EQ(int(slices.size()), c.pages);
    std::size_t at = 0;
    for (const int count : c.groups) {
      // Pages in order, columns side by side from 0 to the width, the last taking the remainder.
      int x = 0;
      for (int i = 0; i < count; ++i, ++at) {
        EXPECT_EQ(slices[at].page, int(at) + 1);
        EXPECT_EQ(slices[at].x, x);
        EXPECT_EQ(slices[at].width, i + 1 < count ? c.width / count : c.width - (count - 1) * (c.width / count));
        x += slices[at].width;
      }
      EXPECT_EQ(x, c.width);
    }
  }
  EXPECT_TRUE(StraddleSlices(0, 400, 10).empty());
  EXPECT_EQ(MaxPagesPerPicture(120, 11.34), 10);
  EXPECT_EQ(MaxPagesPerPicture(5, 11.34), 1);  // narrower than one slice: the whole picture
}

// A bitmap's rows bit by bit, so slices of sub-byte pixels compare too.
std::vector<std::vector<bool>> Bits(const std::vector<std::uint8_t>& file) {
  const Bitmap b = ReadBmp(file);
  std::vector<std::vector<bool>> rows(std::size_t(b.Height()));
  for (int y = 0; y < b.Height(); ++y)
    for (int bit = 0; bit < b.Width() * b.BitsPerPixel(); ++bit) rows[std::size_t(y)].push_back((b.Row(y)[bit / 8] >> (7 - bit % 8)) & 1);
  return rows;
}

TEST(PictureColumns, BmpSlicesSideBySideAreThePictureAtEveryDepth) {
  for (const int bpp : {1, 4, 24, 32}) {
    SCOPED_TRACE(bpp);
    Bitmap bitmap(203, 17, bpp);
    for (int y = 0; y < 17; ++y)
      for (std::size_t i = 0; i < bitmap.Stride(); ++i) bitmap.Row(y)[i] = std::uint8_t(i * 31 + y * 7);
    VectorSink file;
    WriteBmp(bitmap, file);
    const PictureColumns picture(file.data);
    ASSERT_EQ(picture.Width(), 203);
    std::vector<std::vector<bool>> joined(17);
    for (const Slice& s : StraddleSlices(7, 203, 7))
      for (int y = 0; const auto& row : Bits(picture.Cut(s.x, s.width))) {
        joined[std::size_t(y)].insert(joined[std::size_t(y)].end(), row.begin(), row.end());
        ++y;
      }
    EXPECT_EQ(joined, Bits(file.data));
  }
  const PictureColumns png(InkPng({0, 0, 50, 10}));
  EXPECT_THROW(png.Cut(590, 11), PictureError);
  EXPECT_THROW(png.Cut(0, 0), PictureError);
  EXPECT_THROW(PictureColumns(std::vector<std::uint8_t>{1, 2, 3, 4}), PictureError);
}

}  // namespace
}  // namespace inkra
