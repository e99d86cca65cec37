// Cutting the board's output: the box of the ink, and the straddle seal's slices laid side by
// side giving back the picture.
#include <gtest/gtest.h>

#include <numeric>

#include "Bmp.h"
#include "ByteSink.h"
#include "Errors.h"
#include "PictureCut.h"
#include "Png.h"

namespace inkra {
namespace {

// A transparent RGBA page of width x height with opaque ink over `ink`, each pixel telling its
// place, so a misplaced column shows.
std::vector<std::uint8_t> InkPng(int width, int height, Rect ink, int channels = 4) {
  std::vector<std::uint8_t> px(std::size_t(width) * height * channels, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = px.data() + (std::size_t(y) * width + x) * channels;
      const bool inked = x >= ink.left && x < ink.right && y >= ink.top && y < ink.bottom;
      p[0] = std::uint8_t(x), p[1] = std::uint8_t(y), p[2] = std::uint8_t(x ^ y);
      if (channels == 4) p[3] = inked ? std::uint8_t(1 + (x + y) % 255) : 0;
    }
  VectorSink sink;
  WritePng({px.data(), std::size_t(width) * channels, width, height, channels}, sink);
  return sink.data;
}

TEST(InkCrop, CutToTheInkPlusTwoPixelsInsideThePicture) {
  struct Case {
    const char* name;
    Rect ink;
    Rect box;  // expected; the whole picture when nothing is cut
    bool cut;
  };
  const Case cases[] = {
      {"small signature in a corner", {500, 200, 540, 230}, {498, 198, 542, 232}, true},
      {"one pixel", {10, 10, 11, 11}, {8, 8, 13, 13}, true},
      {"at the top left edge", {0, 0, 5, 5}, {0, 0, 7, 7}, true},
      {"at the bottom right edge", {595, 250, 600, 258}, {593, 248, 600, 258}, true},
      {"over the whole board", {1, 1, 599, 257}, {0, 0, 600, 258}, false},
      {"blank board", {}, {0, 0, 600, 258}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::uint8_t> file = InkPng(600, 258, c.ink);
    const InkCrop crop = CropPngToInk(file);
    EXPECT_EQ(crop.Cut(), c.cut);
    EXPECT_EQ(crop.box, c.box);
    EXPECT_EQ(crop.fullWidth, 600);
    EXPECT_EQ(crop.fullHeight, 258);
    if (!c.cut) continue;
    // The kept pixels are the picture's own, from the box's place.
    const PngImage whole = ReadPng(file), cut = ReadPng(crop.png);
    ASSERT_EQ(cut.width, c.box.right - c.box.left);
    ASSERT_EQ(cut.height, c.box.bottom - c.box.top);
    for (int y = 0; y < cut.height; ++y)
      ASSERT_TRUE(std::equal(cut.pixels.begin() + std::ptrdiff_t(y) * cut.width * 4,
                             cut.pixels.begin() + std::ptrdiff_t(y + 1) * cut.width * 4,
                             whole.pixels.begin() + (std::ptrdiff_t(y + c.box.top) * 600 + c.box.left) * 4));
  }
}

TEST(InkCrop, AnOpaquePictureGoesWhole) {
  const InkCrop crop = CropPngToInk(InkPng(300, 200, {}, 3));
  EXPECT_FALSE(crop.Cut());
  EXPECT_EQ(crop.box, (Rect{0, 0, 300, 200}));
  EXPECT_THROW(CropPngToInk(std::vector<std::uint8_t>{'B', 'M', 0, 0}), PictureError);
}

TEST(StraddleSlices, OneSlicePerPageCoveringThePictureOncePerGroup) {
  struct Case {
    const char* name;
    int pages, width, maxPerGroup;
    std::vector<int> groups;  // pages in each group, in order
  };
  const Case cases[] = {
      {"one page", 1, 400, 10, {1}},
      {"two pages", 2, 401, 10, {2}},
      {"seven pages", 7, 400, 10, {7}},
      {"twenty-five pages in even groups", 25, 400, 10, {9, 8, 8}},
      {"narrow seal: every page the whole picture", 3, 400, 1, {1, 1, 1}},
      {"fewer columns than pages", 5, 3, 10, {3, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Slice> slices = StraddleSlices(c.pages, c.width, c.maxPerGroup);
    ASSERT_EQ(int(slices.size()), c.pages);
    std::size_t at = 0;
    for (const int count : c.groups) {
      // Within a group: pages in order, columns side by side from 0 to the width, the last slice
      // taking the remainder and none wider than it.
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
  EXPECT_TRUE(StraddleSlices(3, 0, 10).empty());
}

TEST(StraddleSlices, PagesPerPictureKeepEverySliceWideEnough) {
  EXPECT_EQ(MaxPagesPerPicture(120, 11.34), 10);
  EXPECT_EQ(MaxPagesPerPicture(11.34, 11.34), 1);
  EXPECT_EQ(MaxPagesPerPicture(5, 11.34), 1);  // narrower than one slice: the whole picture
  EXPECT_EQ(MaxPagesPerPicture(120, 0), 1);
}

// Slices of `file` side by side, decoded back: as wide as the picture, the same rows.
template <class Decode>
void ExpectSlicesRebuild(const std::vector<std::uint8_t>& file, int pages, Decode decode) {
  const PictureColumns picture(file);
  const std::vector<Slice> slices = StraddleSlices(pages, picture.Width(), pages);
  std::vector<std::vector<std::uint8_t>> rows;
  for (const Slice& s : slices) {
    const auto part = decode(picture.Cut(s.x, s.width));
    ASSERT_EQ(part.width, s.width);
    rows.resize(std::size_t(part.height));
    for (int y = 0; y < part.height; ++y) rows[std::size_t(y)].insert(rows[std::size_t(y)].end(), part.row(y).begin(), part.row(y).end());
  }
  const auto whole = decode(file);
  ASSERT_EQ(int(rows.size()), whole.height);
  for (int y = 0; y < whole.height; ++y) ASSERT_EQ(rows[std::size_t(y)], whole.row(y)) << "row " << y;
}

struct Decoded {
  int width = 0, height = 0;
  std::vector<std::vector<std::uint8_t>> rows;
  const std::vector<std::uint8_t>& row(int y) const { return rows[std::size_t(y)]; }
};

Decoded FromPng(const std::vector<std::uint8_t>& file) {
  const PngImage image = ReadPng(file);
  Decoded d{image.width, image.height, {}};
  const std::size_t stride = std::size_t(image.width) * image.channels;
  for (int y = 0; y < image.height; ++y)
    d.rows.emplace_back(image.pixels.begin() + std::ptrdiff_t(y * stride), image.pixels.begin() + std::ptrdiff_t((y + 1) * stride));
  return d;
}

// A bitmap's pixels one by one, whatever its depth, so sub-byte slices compare too.
Decoded FromBmp(const std::vector<std::uint8_t>& file) {
  const Bitmap bitmap = ReadBmp(file);
  Decoded d{bitmap.Width(), bitmap.Height(), {}};
  const int bpp = bitmap.BitsPerPixel();
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::vector<std::uint8_t> row;
    for (int bit = 0; bit < bitmap.Width() * bpp; ++bit)
      row.push_back((bitmap.Row(y)[bit / 8] >> (7 - bit % 8)) & 1);
    d.rows.push_back(std::move(row));
  }
  return d;
}

std::vector<std::uint8_t> PatternBmp(int width, int height, int bpp) {
  Bitmap bitmap(width, height, bpp);
  for (int y = 0; y < height; ++y)
    for (std::size_t i = 0; i < bitmap.Stride(); ++i) bitmap.Row(y)[i] = std::uint8_t(i * 31 + y * 7);
  VectorSink sink;
  WriteBmp(bitmap, sink);
  return sink.data;
}

TEST(PictureColumns, SlicesSideBySideAreThePicture) {
  for (const int pages : {2, 7, 25}) {
    SCOPED_TRACE(pages);
    ExpectSlicesRebuild(InkPng(203, 40, {3, 5, 190, 30}), pages, FromPng);
    ExpectSlicesRebuild(PatternBmp(203, 17, 24), pages, FromBmp);
    ExpectSlicesRebuild(PatternBmp(203, 17, 32), pages, FromBmp);
    ExpectSlicesRebuild(PatternBmp(203, 17, 1), pages, FromBmp);
    ExpectSlicesRebuild(PatternBmp(203, 17, 4), pages, FromBmp);
  }
}

TEST(PictureColumns, ColumnsOutsideThePictureOrAnUnknownFileAreRefused) {
  const PictureColumns picture(InkPng(50, 10, {0, 0, 50, 10}));
  EXPECT_THROW(picture.Cut(40, 11), PictureError);
  EXPECT_THROW(picture.Cut(-1, 5), PictureError);
  EXPECT_THROW(picture.Cut(0, 0), PictureError);
  EXPECT_THROW(PictureColumns(std::vector<std::uint8_t>{1, 2, 3, 4}), PictureError);
}

}  // namespace
}  // namespace inkra
