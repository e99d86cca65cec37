// PNG writing and reading: round trips, ink's alpha, and failures that come back as exceptions.
#include <gtest/gtest.h>

#include "Errors.h"
#include "InkTestSupport.h"
#include "Png.h"

namespace inkra {
namespace {

std::vector<std::uint8_t> Pattern(int width, int height, int channels) {
  std::vector<std::uint8_t> px(std::size_t(width) * height * channels);
  for (std::size_t i = 0; i < px.size(); ++i) px[i] = std::uint8_t((i * 7919u) ^ (i >> 5));
  return px;
}

std::vector<std::uint8_t> Encode(const PngRows& rows, const PngSettings& settings = {}) {
  VectorSink sink;
  WritePng(rows, sink, settings);
  return sink.data;
}

struct Shape {
  const char* name;
  int width, height, channels;
  PngSettings settings;
};

class PngRoundTrip : public ::testing::TestWithParam<Shape> {};

TEST_P(PngRoundTrip, ReadsBackWhatWasWritten) {
  const Shape s = GetParam();
  const auto px = Pattern(s.width, s.height, s.channels);
  const auto file = Encode({px.data(), std::size_t(s.width) * s.channels, s.width, s.height, s.channels}, s.settings);
  const PngImage back = ReadPng(file);
  EXPECT_EQ(back.width, s.width);
  EXPECT_EQ(back.height, s.height);
  EXPECT_EQ(back.channels, s.channels);
  EXPECT_EQ(back.pixels, px);
}

INSTANTIATE_TEST_SUITE_P(Shapes, PngRoundTrip, ::testing::Values(
    Shape{"Rgba", 37, 11, 4, {}}, Shape{"Rgb", 5, 23, 3, {}}, Shape{"OnePixel", 1, 1, 4, {}},
    Shape{"AdaptiveFilters", 64, 9, 4, {6, PngFilter::Adaptive, false}},
    Shape{"SubFilter", 19, 7, 3, {9, PngFilter::Sub, false}}, Shape{"Stored", 16, 16, 3, {0, PngFilter::None, true}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PngRows, StrideWiderThanTheRowIsHonoured) {
  const std::vector<std::uint8_t> px{1, 2, 3, 9, 9, 4, 5, 6, 9, 9};  // 1 x 2 RGB, stride 5
  const PngImage back = ReadPng(Encode({px.data(), 5, 1, 2, 3}));
  EXPECT_EQ(back.pixels, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
}

TEST(PngInk, A45DegreeStrokeIsInkOverFullTransparency) {
  ink::InkLayer layer(60, 60);
  ink::testing::DrawStroke(layer, {{10, 45}, {45, 10}}, 4, {0, 0, 160});
  const PngImage back = ReadPng(Encode(layer.Rgba()));
  ASSERT_EQ(back.channels, 4);
  int partial = 0, full = 0;
  for (std::size_t i = 0; i < back.pixels.size(); i += 4) {
    const std::uint8_t* p = &back.pixels[i];
    if (p[3] == 0) {
      EXPECT_EQ(p[0] & p[1] & p[2], 255) << "transparent pixels are white";
    } else {
      EXPECT_EQ(p[0] | p[1], 0);
      EXPECT_EQ(p[2], 160) << "straight alpha keeps the ink's own colour";
      (p[3] == 255 ? full : partial) += 1;
    }
  }
  EXPECT_EQ(back.pixels[3], 0) << "the corner is fully transparent";
  EXPECT_GT(full, 100);
  EXPECT_GT(partial, 60) << "the slanted edges carry partial alpha";
}

TEST(PngRead, WhatIsNotAWholePngIsRefused) {
  const auto px = Pattern(8, 8, 4);
  auto file = Encode({px.data(), 32, 8, 8, 4});
  EXPECT_THROW(ReadPng(std::vector<std::uint8_t>{1, 2, 3}), PictureError);
  EXPECT_THROW(ReadPng(std::span(file).first(file.size() / 2)), PictureError);
  file[40] ^= 0x55;  // inside the first chunk after the header: its CRC no longer matches
  EXPECT_THROW(ReadPng(file), PictureError);
}

class FailingSink final : public ByteSink {
 public:
  void Write(std::span<const std::uint8_t>) override { throw FileError("disk full"); }
};

TEST(PngWrite, TheSinksErrorComesBackAsItself) {
  const auto px = Pattern(4, 4, 4);
  FailingSink sink;
  EXPECT_THROW(WritePng({px.data(), 16, 4, 4, 4}, sink), FileError);
}

TEST(PngWrite, ShapesLibpngCannotWriteAreRefused) {
  const auto px = Pattern(4, 4, 4);
  VectorSink sink;
  EXPECT_THROW(WritePng({px.data(), 16, 0, 4, 4}, sink), PictureError);
  EXPECT_THROW(WritePng({px.data(), 16, 4, 4, 2}, sink), PictureError);
  EXPECT_THROW(WritePng({px.data(), 8, 4, 4, 4}, sink), PictureError);
  EXPECT_THROW(WritePng({px.data(), 16, 4, 4, 4}, sink, {10}), PictureError);
  EXPECT_TRUE(sink.data.empty());
}

}  // namespace
}  // namespace inkra

namespace inkra {
namespace {

// A signature-like page: rows of paper, a few bands of varied rows, paper again; first row inked.
std::vector<std::uint8_t> Page(int width, int height, int channels) {
  std::vector<std::uint8_t> px(std::size_t(width) * height * channels, 255);
  const auto noise = Pattern(width, height, channels);
  for (int y = 0; y < height; ++y)
    if (y == 0 || (y / 7) % 5 == 2)
      std::copy_n(noise.begin() + std::ptrdiff_t(y) * width * channels, width * channels,
                  px.begin() + std::ptrdiff_t(y) * width * channels);
  return px;
}

// Rows handed to the writer as a caller does: a row equal to the one before as a repeat.
std::vector<std::uint8_t> EncodeByRows(const std::vector<std::uint8_t>& px, const Shape& s) {
  VectorSink sink;
  PngWriter writer(s.width, s.height, s.channels, sink, s.settings);
  const std::size_t stride = std::size_t(s.width) * s.channels;
  for (int y = 0; y < s.height; ++y) {
    const std::uint8_t* row = px.data() + stride * y;
    if (y > 0 && std::equal(row, row + stride, row - stride)) writer.Repeat(1);
    else writer.Row(row);
  }
  writer.Finish();
  return sink.data;
}

TEST(PngWriter, RowByRowGivesWritePngsBytes) {
  const Shape shapes[] = {
      {"small", 20, 9, 4, {}},
      {"one row", 3000, 1, 4, {}},
      {"page", 700, 300, 4, {}},
      {"page, opaque, level 9", 523, 211, 3, {9, PngFilter::Up, true}},
      {"page, zlib's default strategy", 400, 120, 4, {6, PngFilter::Up, false}},
      {"page, no filter", 300, 150, 3, {6, PngFilter::None, true}},
      {"stored", 300, 100, 4, {0, PngFilter::Up, true}},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(s.name);
    const auto px = Page(s.width, s.height, s.channels);
    EXPECT_EQ(EncodeByRows(px, s), Encode({px.data(), std::size_t(s.width) * s.channels, s.width, s.height, s.channels}, s.settings));
  }
}

TEST(PngWriter, WrongCountsFiltersAndSinksAreRefused) {
  const auto px = Page(300, 100, 4);
  VectorSink sink;
  EXPECT_THROW(PngWriter(300, 100, 4, sink, {6, PngFilter::Sub, true}), PictureError);
  PngWriter few(300, 100, 4, sink);
  few.Row(px.data());
  EXPECT_THROW(few.Finish(), PictureError);
  EXPECT_THROW(few.Repeat(100), PictureError);
  FailingSink failing;
  EXPECT_THROW(
      {
        PngWriter writer(300, 100, 4, failing);
        writer.Row(px.data());
        writer.Repeat(99);
        writer.Finish();
      },
      FileError);
}

}  // namespace
}  // namespace inkra
