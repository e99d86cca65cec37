// What was drawn, kept as items: drawn again at the board's scale they give the board's own ink,
// they follow undo and redo, and at a print scale they give sharper edges that average back to
// what the screen shows.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

#include "AveragedBack.h"
#include "BoardUndoFixture.h"
#include "Errors.h"
#include "InkTestSupport.h"
#include "Png.h"
#include "PrintOutput.h"

namespace inkra::board {
namespace {

// A red disc of radius r on transparent paper, its edge anti-aliased, as a seal dialog hands over.
Bitmap Disc(int size, double r) {
  Bitmap b(size, size, 32);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double d = std::hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0);
      std::uint8_t* p = b.Row(y) + x * 4;
      p[0] = 0, p[1] = 0, p[2] = 200, p[3] = std::uint8_t(std::lround(std::clamp(r - d + 0.5, 0.0, 1.0) * 255));
    }
  return b;
}

// Art that draws the same disc at any scale and counts what it was asked; or refuses. With
// `inkGrows` it gives the disc as ink too, that many pixels wider and higher than its pixels.
class DiscArt final : public ScalableArt {
 public:
  DiscArt(int size, double r, bool refuses, std::optional<int> inkGrows = std::nullopt)
      : size_(size), r_(r), refuses_(refuses), inkGrows_(inkGrows) {}
  Bitmap DrawAt(double scale) const override {
    asked.push_back(scale);
    if (refuses_) throw PictureError("too large");
    return Disc(ScaledLength(size_, scale), r_ * scale);
  }
  std::unique_ptr<ink::InkLayer> InkAt(double scale) const override {
    if (!inkGrows_) return nullptr;
    inked.push_back(scale);
    const int side = ScaledLength(size_, scale) + *inkGrows_;
    auto layer = std::make_unique<ink::InkLayer>(side, side);
    LayBaseInk(Disc(side, r_ * scale), 1, *layer);
    return layer;
  }
  mutable std::vector<double> asked, inked;

 private:
  int size_;
  double r_;
  bool refuses_;
  std::optional<int> inkGrows_;
};

class BoardItems : public BoardUndo {
 protected:
  void SetUp() override {
    BoardUndo::SetUp();
    board.SetGlyphSource(&glyphs, [](int) { return ColourValue(0); });
  }
  void Line(std::initializer_list<Point> points, float pressure = ink::kNoPressure, std::uint32_t msPerMove = 10) {
    std::uint32_t ms = 1000;
    board.MouseDown(MouseButton::Left, points.begin()->x, points.begin()->y, pressure, ms);
    for (const Point& p : points) board.MouseMove(p.x, p.y, pressure, ms += msPerMove);
    board.MouseUp(ms + 2);
  }
  void Stamp(int x, int y) {
    board.MouseDown(MouseButton::Right, x, y);
    board.StampTime("2026-12-08 10:00");
  }
  void Seal(std::shared_ptr<const ScalableArt> art = nullptr) { board.TakeSeal(BmpFile(Disc(120, 50)), art); }
  // Pixels of the render at `scale` against the board's layer (no layer: no ink anywhere).
  static int Differences(const ink::InkLayer* shown, const ink::InkLayer& drawn) {
    int differ = 0;
    for (int y = 0; y < drawn.Height(); ++y)
      for (int x = 0; x < drawn.Width(); ++x)
        if (!(drawn.At(x, y) == (shown ? shown->At(x, y) : ink::InkPixel{}))) ++differ;
    return differ;
  }
  // Every pixel of ink the board shows (none where it has no layer).
  std::vector<ink::InkPixel> Shown() const {
    const Size size = board.PictureSize();
    std::vector<ink::InkPixel> out;
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x) out.push_back(board.Ink() ? board.Ink()->At(x, y) : ink::InkPixel{});
    return out;
  }
  ink::testing::BoxGlyphs glyphs;
};

TEST_F(BoardItems, AtTheBoardsScaleTheItemsGiveTheShownInkAndFollowUndo) {
  struct Case {
    const char* name;
    std::function<void()> draw;
    std::size_t items;
  } cases[] = {
      {"nothing drawn", [] {}, 0},
      {"strokes, one over the other", [this] { Line({{20, 200}, {120, 40}, {300, 180}}), Line({{10, 60}, {400, 70}}); }, 2},
      {"pen with pressure", [this] { Line({{30, 30}, {90, 120}, {200, 100}}, 0.8f); }, 1},
      {"pen's tip, released at speed",
       [this] { board.SetPenTip(true), Line({{30, 100}, {130, 110}, {260, 90}, {380, 100}}, ink::kNoPressure, 5); }, 1},
      {"time stamp over writing", [this] { Line({{20, 20}, {300, 60}}), Stamp(40, 30); }, 2},
      {"a stroke undone", [this] { Line({{20, 20}, {300, 60}}), Line({{20, 90}, {300, 20}}), board.Undo(); }, 1},
      {"undone and redone", [this] { Line({{20, 20}, {300, 60}}), Stamp(60, 40), board.Undo(), board.Redo(); }, 2},
      {"undone, then a new stroke", [this] { Line({{20, 20}, {300, 60}}), board.Undo(), Line({{50, 200}, {90, 10}}); }, 1},
      {"a clear taken back", [this] { Line({{20, 20}, {300, 60}}), board.Clear(), board.Undo(); }, 1},
      {"a clear", [this] { Line({{20, 20}, {300, 60}}), board.Clear(); }, 0},
      {"written over a seal", [this] { Seal(), Line({{5, 60}, {110, 70}}); }, 1},
      {"a seal over writing, taken back", [this] { Line({{5, 60}, {110, 70}}), Seal(), board.Undo(); }, 1},
      {"strokes over strokes, two undone, one redone",
       [this] {
         Line({{20, 200}, {120, 40}, {300, 180}}), Line({{10, 60}, {400, 70}}), Line({{60, 10}, {90, 240}}, 0.5f);
         board.Undo(), board.Undo(), board.Redo();
       },
       2},
      {"a stroke under others undone", [this] { Line({{10, 60}, {400, 70}}), Line({{60, 10}, {90, 240}}), board.Undo(); }, 1},
      {"a stamp over strokes undone",
       [this] { Line({{20, 20}, {300, 60}}), Line({{30, 70}, {200, 10}}), Stamp(40, 30), board.Undo(); }, 2},
      {"a stamp over strokes undone and redone",
       [this] { Line({{20, 20}, {300, 60}}), Stamp(40, 30), Line({{30, 70}, {200, 10}}), board.Undo(), board.Undo(), board.Redo(); },
       2},
      {"strokes over a seal, undone and redone",
       [this] { Seal(), Line({{5, 60}, {110, 70}}), Line({{60, 5}, {50, 115}}), board.Undo(), board.Undo(), board.Redo(); }, 1},
      {"a stamp over a seal, undone", [this] { Seal(), Line({{5, 60}, {110, 70}}), Stamp(10, 50), board.Undo(); }, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    board.Create(602, 258);
    board.SetPenTip(false);
    c.draw();
    EXPECT_EQ(board.Items().size(), c.items);
    const auto drawn = board.InkAt(1);
    ASSERT_TRUE(drawn);
    EXPECT_EQ(Differences(board.Ink(), *drawn), 0);
    // One more stroke across it all: its undo leaves the very pixels it found, its redo the ones it made.
    const std::vector<ink::InkPixel> found = Shown();
    Line({{0, 100}, {300, 140}, {600, 90}});
    const std::vector<ink::InkPixel> made = Shown();
    ASSERT_TRUE(board.Undo());
    EXPECT_TRUE(Shown() == found);
    ASSERT_TRUE(board.Redo());
    EXPECT_TRUE(Shown() == made);
  }
}

// The coverage of a layer drawn `scale` times larger, averaged back to the board's pixels.
std::vector<double> Averaged(const ink::InkLayer& big, int w, int h, double scale) {
  return test::AveragedBack(big.Width(), big.Height(), scale, scale, w, h, 1,
                            [&](int x, int y, int) { return double(big.At(x, y).coverage); });
}

// Larger, a stroke's samples are smoothed by up to a quarter of a pixel, so some of its edge
// pixels average back a little off the screen's; and averaging a picture drawn at a scale that is
// not whole cannot tell where in one of its pixels the coverage lay, so there a few more differ.
TEST_F(BoardItems, AtAPrintScaleEdgesAreSharpAndAverageBackToTheScreen) {
  struct Case {
    double scale;
    double offShare;  // of the board's pixels, averaged back more than 2/255 away
  } cases[] = {{2, 0.005}, {3, 0.005}, {3.125, 0.0125}, {1.5625, 0.0125}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    board.Create(600, 400);
    Line({{20, 180}, {180, 20}});  // 45 degrees
    Line({{300, 100}, {400, 110}, {500, 300}});
    Stamp(200, 120);
    const double scale = c.scale;
    const auto big = board.InkAt(scale);
    ASSERT_EQ(big->Width(), ScaledLength(600, scale));
    // Across a row through the 45-degree stroke's middle, each edge's partly covered pixels.
    const int row = int(100 * scale);
    int ramp = 0, first = -1, last = -1;
    for (int x = 0; x < int(150 * scale); ++x) {
      const int cover = big->At(x, row).coverage;
      if (cover > 0 && first < 0) first = x;
      if (cover == 255 && last < 0) last = x;
      if (cover > 0 && cover < 255 && last < 0) ++ramp;
    }
    EXPECT_GT(last, first);
    EXPECT_LE(ramp, 2);
    const std::vector<double> back = Averaged(*big, 600, 400, scale);
    int off = 0;
    for (int y = 0; y < 400; ++y)
      for (int x = 0; x < 600; ++x)
        if (std::abs(back[std::size_t(y) * 600 + std::size_t(x)] - board.Ink()->At(x, y).coverage) > 2) ++off;
    EXPECT_LE(off, 600 * 400 * c.offShare) << off;
  }
}

// A straight line the mouse reported at whole pixels: at print scale its upper edge, column by
// column, stays near the straight line fitted through it instead of bending at every sample.
TEST_F(BoardItems, AtAPrintScaleAStraightStrokeShowsNoLumpPerSample) {
  struct Case {
    double scale, slope;
    double worst;  // the edge's largest distance from straight, in output pixels
  } cases[] = {{3.125, 0.37, 1.2}, {3.125, -0.61, 1.2}, {2, 0.23, 0.8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.scale << ", slope " << c.slope);
    board.Create(600, 400);
    const int top = c.slope < 0 ? 380 : 40;
    board.MouseDown(MouseButton::Left, 20, top);
    for (int i = 0; i <= 90; ++i) board.MouseMove(20 + i * 6, int(std::lround(top + i * 6 * c.slope)));
    board.MouseUp();
    const auto big = board.InkAt(c.scale);
    std::vector<double> edge;  // the first row with ink, less the share of it left uncovered
    const int from = int(60 * c.scale), to = int(500 * c.scale);
    for (int x = from; x < to; ++x)
      for (int y = 0; y < big->Height(); ++y)
        if (const int cover = big->At(x, y).coverage) {
          edge.push_back(y + 1 - cover / 255.0);
          break;
        }
    ASSERT_EQ(edge.size(), std::size_t(to - from));
    double n = double(edge.size()), sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < edge.size(); ++i) sx += i, sy += edge[i], sxx += double(i) * i, sxy += i * edge[i];
    const double k = (n * sxy - sx * sy) / (n * sxx - sx * sx), at0 = (sy - k * sx) / n;
    double worst = 0;
    for (std::size_t i = 0; i < edge.size(); ++i) worst = std::max(worst, std::abs(edge[i] - (at0 + k * i)));
    EXPECT_LT(worst, c.worst);
  }
}

TEST_F(BoardItems, ASealIsDrawnByItsArtAtOtherScalesAndResampledWithout) {
  struct Case {
    const char* name;
    bool art, refuses;
    double scale;
    std::vector<double> asked;
    std::optional<int> inkGrows;
    std::vector<double> inked;
  } cases[] = {
      {"art at 3", true, false, 3, {3}},
      {"art at the board's scale: its own pixels", true, false, 1, {}},
      {"art refusing", true, true, 3, {3}},
      {"no art", false, false, 3, {}},
      {"art giving ink of the size: taken as it is", true, false, 3, {}, 0, {3}},
      {"art giving ink a pixel larger: cut to the size", true, false, 3, {}, 1, {3}},
      {"art giving ink a pixel smaller", true, false, 3, {}, -1, {3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    board.Create(602, 258);
    auto art = c.art ? std::make_shared<DiscArt>(120, 50, c.refuses, c.inkGrows) : nullptr;
    Seal(art);
    Line({{100, 10}, {110, 12}});  // an item, drawn over whatever the art gave
    const auto drawn = board.InkAt(c.scale);
    EXPECT_EQ(art ? art->asked : std::vector<double>{}, c.asked);
    EXPECT_EQ(art ? art->inked : std::vector<double>{}, c.inked);
    EXPECT_EQ(drawn->Width(), ScaledLength(120, c.scale));
    EXPECT_GT(drawn->At(int(105 * c.scale), int(11 * c.scale)).coverage, 128) << "the stroke is on the art's ink";
    // The disc at the scaled size either way: full at its centre, none in the corners, red.
    const int mid = int(60 * c.scale);
    EXPECT_EQ(drawn->At(mid, mid).coverage, 255);
    EXPECT_EQ(drawn->At(mid, mid).colour, (ink::Rgb{200, 0, 0}));
    EXPECT_EQ(drawn->At(int(4 * c.scale), int(4 * c.scale)).coverage, 0);
    const int edge = int(std::lround((60 + 50) * c.scale));  // just inside the rim, on the row through the centre
    EXPECT_GT(drawn->At(edge - 2, mid).coverage, 128);
    EXPECT_LT(drawn->At(edge + 1, mid).coverage, 128);
  }
}

TEST_F(BoardItems, ThePrintPngIsDrawnAtTheScaleOverThePictureItCameWith) {
  Bitmap photo(100, 80, 24);
  for (std::size_t i = 0; i < photo.Pixels().size(); i += 3) photo.Pixels()[i] = 200, photo.Pixels()[i + 1] = 40;
  struct Case {
    const char* name;
    std::function<void()> picture;
    int channels;
    std::array<std::uint8_t, 4> corner;  // the top-left pixel, where nothing was drawn
  } cases[] = {
      {"paper", [] {}, 4, {255, 255, 255, 0}},
      {"an opened picture", [&] { board.OpenPicture("p.bmp", BmpFile(photo)); }, 3, {255, 40, 200, 0}},
      {"a seal", [this] { Seal(); }, 4, {255, 255, 255, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    board.Create(160, 90);
    c.picture();
    Line({{20, 60}, {70, 20}});
    VectorSink screen, print, same;
    board.WritePng(screen);
    board.WritePngAt(same, 1);
    EXPECT_EQ(same.data, screen.data);
    board.WritePngAt(print, 2.5);
    const PngImage png = ReadPng(print.data);
    EXPECT_EQ(png.channels, c.channels);
    EXPECT_EQ(png.width, ScaledLength(board.PictureSize().width, 2.5));
    EXPECT_EQ(png.height, ScaledLength(board.PictureSize().height, 2.5));
    for (int i = 0; i < c.channels; ++i) EXPECT_EQ(png.pixels[std::size_t(i)], c.corner[std::size_t(i)]);
    // The stroke's middle is ink, at full strength, at its scaled place.
    const std::uint8_t* mid = &png.pixels[(std::size_t(std::lround(40 * 2.5 + 3)) * std::size_t(png.width) +
                                           std::size_t(std::lround(45 * 2.5 + 3))) * std::size_t(c.channels)];
    EXPECT_EQ(mid[0], 255);
    EXPECT_EQ(mid[1], 0);
  }
}

TEST_F(BoardItems, AnUndrawnJpegLeavesAsItsOwnBytesAtAnyScale) {
  const auto jpeg = testing::MakeJpeg(90, 70, 20, 120, 220);
  board.OpenPicture("p.jpg", jpeg);
  VectorSink print;
  board.WritePngAt(print, 3.125);
  EXPECT_EQ(print.data, jpeg);
}

TEST(PrintScale, WholeAndAtLeastThreeHundredPerInchWithinThePictureLimitNeverBelowTheScreen) {
  struct Case {
    Size picture;
    int dpi;
    double low, high;
  } cases[] = {
      {{800, 500}, 96, 4, 4},     {{800, 500}, 120, 3, 3},    {{800, 500}, 144, 3, 3},
      {{800, 500}, 192, 2, 2},    {{800, 500}, 288, 2, 2},    {{800, 500}, 300, 1, 1},
      {{800, 500}, 600, 1, 1},    {{3000, 2000}, 96, 2, 2},   {{800, 500}, 0, 1, 1},
      {{1204, 516}, 192, 2, 2},   {{4000, 3000}, 96, 1.44, 1.45},  // too large for 2: the most that fits
      {{6000, 4000}, 96, 1, 1.03},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.picture.width << "x" << c.picture.height << " at " << c.dpi);
    const double scale = PrintScale(c.picture, c.dpi);
    EXPECT_GE(scale, c.low);
    EXPECT_LE(scale, c.high);
    const Size out = ScaledSize(c.picture, scale);
    EXPECT_LE(double(out.width) * out.height * 4, double(kMaxPictureBytes));
    // Never fewer pixels than the scale asks: they are the pixels per inch on paper.
    EXPECT_GE(out.width, c.picture.width * scale - 1e-6);
    EXPECT_GE(out.height, c.picture.height * scale - 1e-6);
  }
}

}  // namespace
}  // namespace inkra::board
