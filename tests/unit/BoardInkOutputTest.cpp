// What leaves a board with ink on it: the PNG with alpha, the thresholded BMP, the composited view,
// and ink that undo takes back.
#include <gtest/gtest.h>

#include "BoardFakes.h"
#include "BoardModel.h"
#include "Bmp.h"
#include "Errors.h"
#include "InkTestSupport.h"
#include "Png.h"

namespace inkra::board {
namespace {

using testing::RecordingSurfaces;

constexpr std::uint32_t kRed = 0x0000FF;  // PixelRGB's 0xBBGGRR

class BoardInkOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    board.Create(200, 120);
    // A slanted stroke, the nib across it: its edges are where partial coverage lies.
    Stroke({{20, 100}, {60, 60}, {100, 20}});
  }
  void Stroke(std::initializer_list<Point> points) {
    board.MouseDown(MouseButton::Left, points.begin()->x, points.begin()->y);
    for (const Point& p : points) board.MouseMove(p.x, p.y);
    board.MouseUp();
  }
  std::vector<std::uint8_t> Written(bool png) {
    VectorSink sink;
    png ? board.WritePng(sink) : board.WritePicture(sink);
    return sink.data;
  }
  void OpenPicture(int w, int h, std::uint8_t blue) {
    Bitmap picture(w, h, 24);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) picture.Row(y)[x * 3] = blue, picture.Row(y)[x * 3 + 1] = 0x40, picture.Row(y)[x * 3 + 2] = 0;
    VectorSink file;
    WriteBmp(picture, file);
    board.OpenPicture("photo.bmp", file.data);
  }
  int Coverage(int x, int y) const { return board.Ink()->At(x, y).coverage; }

  RecordingSurfaces surfaces;
  BoardModel board{surfaces};
};

TEST_F(BoardInkOutput, OnPaperThePngIsTheInkWithItsAlphaOverNothing) {
  const PngImage png = ReadPng(Written(true));
  ASSERT_EQ(png.channels, 4);
  ASSERT_EQ(png.width, 200);
  int partial = 0, whole = 0;
  for (int y = 0; y < png.height; ++y) {
    for (int x = 0; x < png.width; ++x) {
      const std::uint8_t* p = &png.pixels[(std::size_t(y) * 200 + std::size_t(x)) * 4];
      EXPECT_EQ(p[3], Coverage(x, y)) << x << "," << y;
      if (p[3] == 0) continue;
      // Every inked pixel is the ink's own colour: over any page, nothing lighter than both.
      EXPECT_EQ((std::array{p[0], p[1], p[2]}), (std::array<std::uint8_t, 3>{255, 0, 0})) << x << "," << y;
      ++(p[3] == 255 ? whole : partial);
    }
  }
  EXPECT_GT(whole, 100);
  EXPECT_GT(partial, 50);
}

TEST_F(BoardInkOutput, TheBmpThresholdsTheCoverageSoNoPaleFringeIsLeft) {
  const Bitmap bmp = ReadBmp(Written(false));
  int red = 0;
  for (int y = 0; y < bmp.Height(); ++y) {
    for (int x = 0; x < bmp.Width(); ++x) {
      const std::uint32_t expected = Coverage(x, y) >= ink::InkLayer::kThreshold ? kRed : 0xFFFFFFu;
      ASSERT_EQ(bmp.PixelRGB(x, y), expected) << x << "," << y;
      red += expected == kRed;
    }
  }
  EXPECT_GT(red, 100);
}

TEST_F(BoardInkOutput, TheViewShowsTheInkCompositedOverThePicture) {
  const Picture shown = board.Snapshot();
  const Bitmap& all = std::get<Bitmap>(shown);
  EXPECT_EQ(all.PixelRGB(61, 61), kRed);
  EXPECT_EQ(all.PixelRGB(150, 20), 0xFFFFFFu);
  // Any area composes to the same pixels as the whole.
  const Rect area{55, 40, 90, 77};
  Bitmap part(area.right - area.left, area.bottom - area.top, all.BitsPerPixel());
  board.Compose(area, {part.Pixels().data(), part.Stride(), part.Width(), part.Height(), part.BitsPerPixel()});
  int partial = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      ASSERT_EQ(part.PixelRGB(x - area.left, y - area.top), all.PixelRGB(x, y)) << x << "," << y;
      partial += Coverage(x, y) > 0 && Coverage(x, y) < 255;
    }
  EXPECT_GT(partial, 0);
}

TEST_F(BoardInkOutput, OnAnOpenedPictureThePngIsOpaqueWithTheInkComposited) {
  OpenPicture(120, 80, 0x90);
  EXPECT_EQ(board.Ink(), nullptr);  // the old ink went with the old picture
  Stroke({{10, 70}, {40, 40}, {70, 10}});
  const PngImage png = ReadPng(Written(true));
  ASSERT_EQ(png.channels, 3);
  const Bitmap shown = std::get<Bitmap>(board.Snapshot());
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 120; ++x) {
      const std::uint8_t* p = &png.pixels[(std::size_t(y) * 120 + std::size_t(x)) * 3];
      ASSERT_EQ(p[0] | p[1] << 8 | p[2] << 16, int(shown.PixelRGB(x, y))) << x << "," << y;
    }
  EXPECT_EQ(shown.PixelRGB(0, 79), 0x904000u);
  EXPECT_EQ(shown.PixelRGB(41, 41), kRed);
}

TEST_F(BoardInkOutput, TheTimeStampCoversTheInkUnderItsBoxAndStaysOpaqueInThePng) {
  ASSERT_EQ(Coverage(61, 61), 255);
  ASSERT_EQ(Coverage(41, 81), 255);
  board.MouseDown(MouseButton::Right, 55, 58);
  board.StampTime("2026-12-07 20:30");  // the fake's cell: 10 pixels a character, 20 high
  EXPECT_EQ(Coverage(61, 61), 0);
  EXPECT_EQ(Coverage(41, 81), 255);  // outside the box
  const PngImage png = ReadPng(Written(true));
  // The fake paints the cell in the brush colour, white: the box leaves the paper showing.
  EXPECT_EQ(png.pixels[(std::size_t(61) * 200 + 61) * 4 + 3], 0);
  EXPECT_TRUE(board.Undo());
  EXPECT_EQ(Coverage(61, 61), 255);
}

// With the font engine's outlines the stamp's characters are ink: the box is white in the picture
// and paper in the ink, so on paper only the characters stay in the PNG, with their coverage, and
// on an opened picture the box covers it as before.
TEST_F(BoardInkOutput, TheTimeStampsCharactersAreInkOverAWhiteBox) {
  ink::testing::BoxGlyphs glyphs;  // 10 x 20 pixel characters, the glyph their middle 5 x 10
  board.SetGlyphSource(&glyphs, [](int) { return ColourValue(0x000000); });
  for (const bool onPaper : {true, false}) {
    SCOPED_TRACE(onPaper ? "paper" : "opened picture");
    if (!onPaper) OpenPicture(200, 120, 0x90);
    const std::uint32_t under = std::get<Bitmap>(board.Snapshot()).PixelRGB(60, 60);  // the stroke, or the photo
    board.MouseDown(MouseButton::Right, 50, 50);
    board.StampTime("12");  // the box (50, 50)-(70, 70); the first glyph (52.5, 55)-(57.5, 65)
    EXPECT_EQ(Coverage(60, 60), 0);    // the box, between the glyphs, over the stroke
    EXPECT_EQ(Coverage(55, 58), 255);  // inside a glyph
    EXPECT_EQ(Coverage(57, 58), 128);  // the glyph's edge halves the pixel
    EXPECT_EQ(board.Ink()->At(55, 58).colour, (ink::Rgb{0, 0, 0}));
    const Bitmap shown = std::get<Bitmap>(board.Snapshot());
    EXPECT_EQ(shown.PixelRGB(60, 60), 0xFFFFFFu);  // white over the picture too
    EXPECT_GT(shown.PixelRGB(57, 58), 0x606060u);
    EXPECT_LT(shown.PixelRGB(57, 58), 0xA0A0A0u);
    const PngImage png = ReadPng(Written(true));
    const auto alpha = [&](int x, int y) {
      return png.channels == 4 ? int(png.pixels[(std::size_t(y) * 200 + std::size_t(x)) * 4 + 3]) : 255;
    };
    EXPECT_EQ(alpha(60, 60), onPaper ? 0 : 255);
    EXPECT_EQ(alpha(57, 58), onPaper ? 128 : 255);
    // The BMP thresholds the edge: no grey is left for a host that keys out white.
    const Bitmap bmp = ReadBmp(Written(false));
    EXPECT_EQ(bmp.PixelRGB(57, 58), 0u);
    EXPECT_EQ(bmp.PixelRGB(58, 58), 0xFFFFFFu);
    EXPECT_TRUE(board.Undo());
    EXPECT_EQ(std::get<Bitmap>(board.Snapshot()).PixelRGB(60, 60), under);
  }
  EXPECT_EQ(glyphs.calls, 4);  // the box from the outlines, then the text: twice a stamp
}

TEST_F(BoardInkOutput, UndoAndRedoTakeTheInkOfAStrokeBackAndBringItBack) {
  Stroke({{150, 10}, {150, 60}, {150, 110}});
  EXPECT_EQ(Coverage(151, 60), 255);
  ASSERT_TRUE(board.Undo());
  EXPECT_EQ(Coverage(151, 60), 0);
  EXPECT_EQ(Coverage(61, 61), 255);  // the earlier stroke stays
  ASSERT_TRUE(board.Redo());
  EXPECT_EQ(Coverage(151, 60), 255);
  // A clear takes picture and ink away; its undo brings both back.
  board.Clear();
  EXPECT_EQ(board.Ink(), nullptr);
  ASSERT_TRUE(board.Undo());
  ASSERT_NE(board.Ink(), nullptr);
  EXPECT_EQ(Coverage(151, 60), 255);
  EXPECT_TRUE(board.Paper());
}

TEST_F(BoardInkOutput, AStrokeIsOneChangeWhoseUndoRepaintsWhereItWas) {
  board.TakeChanges();
  Stroke({{150, 10}, {170, 30}});
  const Rect drawn = board.TakeChanges().dirty;
  ASSERT_FALSE(drawn.Empty());
  ASSERT_TRUE(board.Undo());
  EXPECT_EQ(board.TakeChanges().dirty.Intersect(drawn), drawn);
  EXPECT_EQ(Coverage(160, 20), 0);
  EXPECT_EQ(Coverage(61, 61), 255);
}

TEST_F(BoardInkOutput, APalettePictureKeepsItsPaletteAndLeavesAsABmp) {
  VectorSink file;
  WriteBmp(Bitmap(40, 30, 8), file);
  board.OpenPicture("old.bmp", file.data);
  Stroke({{5, 5}, {20, 20}});
  EXPECT_EQ(surfaces.Last().Recorder().Polygons().size(), 2u);  // drawn into it, aliased
  EXPECT_EQ(board.Ink(), nullptr);
  EXPECT_FALSE(board.CanWritePng());
  VectorSink sink;
  EXPECT_THROW(board.WritePng(sink), PictureError);
  EXPECT_EQ(ReadBmp(Written(false)).BitsPerPixel(), 8);
}

}  // namespace
}  // namespace inkra::board
