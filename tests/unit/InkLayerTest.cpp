// The ink layer: source-over in straight alpha, wet ink that is set rather than added, and the
// two ways out: RGBA over transparent white, and ink laid over an opaque picture.
#include <gtest/gtest.h>

#include <functional>

#include "Bitmap.h"
#include "Errors.h"
#include "InkTestSupport.h"

namespace inkra::ink {
namespace {

using namespace testing;

struct OverCase {
  const char* name;
  InkPixel below;
  Rgb colour;
  std::uint8_t cover;
  InkPixel expected;
};

class InkOver : public ::testing::TestWithParam<OverCase> {};

TEST_P(InkOver, StraightAlphaSourceOver) {
  const OverCase c = GetParam();
  EXPECT_EQ(Over(c.below, c.colour, c.cover), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, InkOver, ::testing::Values(
    OverCase{"NothingOverNothing", {}, {255, 0, 0}, 0, {}},
    OverCase{"PartOverNothingKeepsItsColour", {}, {255, 0, 0}, 77, {{255, 0, 0}, 77}},
    OverCase{"FullHidesWhatIsBelow", {{0, 0, 255}, 200}, {255, 0, 0}, 255, {{255, 0, 0}, 255}},
    OverCase{"HalfOverHalf", {{0, 0, 255}, 128}, {255, 0, 0}, 128, {{170, 0, 85}, 192}},
    OverCase{"PartOverFull", {{0, 0, 0}, 255}, {255, 255, 255}, 51, {{51, 51, 51}, 255}}),
    [](const auto& info) { return std::string(info.param.name); });

Outline Square(double x0, double y0, double x1, double y1) {
  return {{ToGrid(x0, y0), ToGrid(x1, y0), ToGrid(x1, y1), ToGrid(x0, y1)}};
}

TEST(InkLayerFill, ExactAreaAndTheNonZeroRule) {
  InkLayer layer(10, 10);
  // Two overlapping squares of one path set: non-zero fills their overlap once.
  Outline two = Square(1, 1, 5, 5);
  two.push_back(Square(3, 3, 7.5, 7.25)[0]);
  EXPECT_EQ(layer.Fill(two, {0, 0, 0}), (Rect{1, 1, 8, 8}));
  EXPECT_EQ(layer.At(4, 4).coverage, 255);
  EXPECT_EQ(layer.At(7, 5).coverage, 128);  // half of pixel 7's width
  EXPECT_EQ(layer.At(5, 7).coverage, 64);   // a quarter of pixel row 7
  EXPECT_EQ(layer.At(7, 7).coverage, 32);   // an eighth
  EXPECT_EQ(layer.At(0, 0).coverage, 0);
}

TEST(InkLayerWet, SettingWetInkTwiceDoesNotDarkenIt) {
  InkLayer layer(10, 10);
  layer.BeginWet({0, 0, 255});
  const Outline half = Square(2, 2, 4.5, 4);
  layer.SetWet(half, layer.Bounds());
  layer.SetWet(half, layer.Bounds());
  EXPECT_TRUE(layer.Wet());
  EXPECT_EQ(layer.At(4, 3), (InkPixel{{0, 0, 255}, 128}));
  EXPECT_EQ(layer.Dry(), (Rect{2, 2, 5, 4}));
  EXPECT_FALSE(layer.Wet());
  EXPECT_EQ(layer.At(4, 3), (InkPixel{{0, 0, 255}, 128}));
}

TEST(InkLayerOut, RgbaIsTransparentWhiteWhereNoInkIs) {
  InkLayer layer(6, 3);
  layer.BeginWet({10, 20, 30});
  layer.SetWet(Square(1, 1, 2.5, 2), layer.Bounds());
  const PngRows rows = layer.Rgba();  // dries the wet ink
  EXPECT_EQ(rows.width, 6);
  EXPECT_EQ(rows.channels, 4);
  const std::uint8_t* px = rows.bits + rows.stride;  // row 1
  EXPECT_EQ(std::vector<std::uint8_t>(px, px + 12),
            (std::vector<std::uint8_t>{255, 255, 255, 0, 10, 20, 30, 255, 10, 20, 30, 128}));
  EXPECT_FALSE(layer.Wet());
}

// A writer passes the rows outside Inked() unread, so no way of laying ink may leave any outside.
TEST(InkLayerOut, InkedHoldsAllTheDryInkAndOutsideItTheLayerIsAsMade) {
  const struct {
    const char* name;
    std::function<void(InkLayer&)> lay;
  } ways[] = {
      {"filled", [](InkLayer& l) { l.Fill(Square(3, 20, 5.5, 23), {1, 2, 3}); }},
      {"a dried stroke",
       [](InkLayer& l) {
         l.BeginWet({1, 2, 3});
         l.SetWet(Square(4, 30, 6, 31.5), l.Bounds());
         l.Dry();
       }},
      {"written through", [](InkLayer& l) { l.DryPixels().Row(12)[5 * 4 + 3] = 9; }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    InkLayer layer(8, 40);
    EXPECT_TRUE(layer.Inked().Empty());
    way.lay(layer);
    const Rect inked = layer.Inked();
    const PngRows rows = layer.DryRgba();
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 8; ++x) {
        if (!inked.Intersect({x, y, x + 1, y + 1}).Empty()) continue;
        const std::uint8_t* px = rows.bits + y * rows.stride + x * 4;
        ASSERT_EQ(std::vector<std::uint8_t>(px, px + 4), (std::vector<std::uint8_t>{255, 255, 255, 0})) << x << "," << y;
      }
  }
}

class InkOverPicture : public ::testing::TestWithParam<int> {
 protected:
  // Ink of coverage 255, 128 and 127 in blue over a picture of mid grey.
  void SetUp() override {
    layer.Fill(Square(0, 0, 1, 1), {0, 0, 255});
    layer.Fill(Square(1, 0, 1.5, 1), {0, 0, 255});
    layer.Fill(Square(2, 0, 2 + 127.0 / 256, 1), {0, 0, 255});
    picture = Bitmap(4, 1, GetParam());
    for (int x = 0; x < 4; ++x) std::fill_n(picture.Row(0) + x * (GetParam() / 8), 3, 100);
  }
  PixelRows Rows() { return {picture.Row(0), picture.Stride(), 4, 1, GetParam()}; }
  std::uint32_t At(int x) const { return picture.PixelRGB(x, 0); }

  InkLayer layer{4, 1};
  Bitmap picture;
};

TEST_P(InkOverPicture, CompositeMixesByCoverage) {
  layer.CompositeOnto(Rows(), layer.Bounds());
  EXPECT_EQ(At(0), 0xFF0000u);
  EXPECT_EQ(At(1), 0xB23232u);  // blue (100 * 127 + 255 * 128) / 255 = 178, the others 100 * 127 / 255 = 50
  EXPECT_EQ(At(3), 0x646464u);
}

TEST_P(InkOverPicture, ThresholdInksFromHalfCoverageAndLeavesTheRestAlone) {
  EXPECT_EQ(layer.At(2, 0).coverage, 127);
  layer.ThresholdOnto(Rows(), {1, 0, 4, 1});
  EXPECT_EQ(At(0), 0x646464u);  // outside the area asked for
  EXPECT_EQ(At(1), 0xFF0000u);
  EXPECT_EQ(At(2), 0x646464u);
  EXPECT_EQ(At(3), 0x646464u);
}

TEST_P(InkOverPicture, APictureOfAnotherSizeIsRefused) {
  PixelRows wrong = Rows();
  wrong.width = 3;
  EXPECT_THROW(layer.CompositeOnto(wrong, layer.Bounds()), PictureError);
}

INSTANTIATE_TEST_SUITE_P(Depths, InkOverPicture, ::testing::Values(24, 32));

TEST(InkLayerClip, InkFarOffTheLayerIsClippedAway) {
  InkLayer layer(20, 20);
  const Rect changed = DrawStroke(layer, {{-3000000, 10}, {10, 10}, {3000000, 10}}, 3);
  EXPECT_EQ(changed.Intersect(layer.Bounds()), (Rect{0, 10, 20, 14}));
  EXPECT_EQ(layer.At(0, 11).coverage, 255);
  EXPECT_EQ(layer.At(19, 11).coverage, 255);
  EXPECT_EQ(layer.At(5, 9).coverage, 0);
}

// Ink drawn under a clip: inside it, every pixel as the same drawing gives unclipped (cut edges
// included); outside it, the ink that was there, untouched.
TEST(InkLayerClip, InsideTheClipInkIsAsUnclippedAndOutsideItStaysAsItWas) {
  const Outline disc = Square(14.3, 9.6, 41.7, 33.2);
  const struct {
    const char* name;
    std::function<void(InkLayer&)> draw;
  } cases[] = {
      {"fill", [&](InkLayer& l) { l.Fill(disc, {0, 90, 200}); }},
      {"erase", [&](InkLayer& l) { l.Erase(disc); }},
      {"stroke", [](InkLayer& l) { DrawStroke(l, {{5.2, 34.1}, {28.6, 15.3}, {55.1, 27.7}}, 7.5); }},
  };
  const Rect clip{20, 12, 37, 30};  // cuts through every shape
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    InkLayer whole(60, 44), clipped(60, 44), below(60, 44);
    for (InkLayer* l : {&whole, &clipped, &below}) DrawStroke(*l, {{0, 22}, {60, 20}}, 9, {10, 160, 10});
    c.draw(whole);
    clipped.ClipTo(clip);
    c.draw(clipped);
    int inside = 0, outside = 0, changedInside = 0;
    for (int y = 0; y < 44; ++y)
      for (int x = 0; x < 60; ++x) {
        const bool in = clip.Intersect({x, y, x + 1, y + 1}) == Rect{x, y, x + 1, y + 1};
        (in ? inside : outside) += !(clipped.At(x, y) == (in ? whole : below).At(x, y));
        changedInside += in && !(whole.At(x, y) == below.At(x, y));
      }
    EXPECT_EQ(inside, 0);
    EXPECT_EQ(outside, 0);
    EXPECT_GT(changedInside, 20);  // the drawing reached into the clip
  }
}

}  // namespace
}  // namespace inkra::ink
