// Creation, clear, the two layout modes and the view size the add-ins read.
#include <gtest/gtest.h>

#include "BoardFakes.h"
#include "BoardModel.h"
#include "Bmp.h"
#include "Errors.h"
#include "Png.h"

namespace inkra::board {
namespace {

using testing::RecordingSurface;
using testing::RecordingSurfaces;

std::vector<std::uint8_t> BmpFile(int w, int h, int bpp) {
  VectorSink sink;
  WriteBmp(Bitmap(w, h, bpp), sink);
  return sink.data;
}

class BoardLayout : public ::testing::Test {
 protected:
  void SetUp() override { board.Create(602, 258); }
  RecordingSurfaces surfaces;
  BoardModel board{surfaces};
};

TEST_F(BoardLayout, CreationMakesAWhiteBitmapOfThePanelsClientArea) {
  ASSERT_EQ(surfaces.made.size(), 1u);
  EXPECT_EQ(board.Kind(), PictureKind::Bitmap);
  EXPECT_EQ(board.PictureSize(), (Size{602, 258}));
  EXPECT_EQ(board.ViewSize(), (Size{602, 258}));
  EXPECT_EQ(board.Mode(), LayoutMode::Fill);
  EXPECT_FALSE(board.Accepted());
  // Fill colour first, then the pen.
  const auto& ops = surfaces.Last().Recorder().Ops();
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0].kind, CanvasOp::Kind::BrushColour);
  EXPECT_EQ(ops[1].kind, CanvasOp::Kind::PenColour);
  EXPECT_EQ(ops[0].colour, clRed);
  EXPECT_EQ(ops[1].colour, clRed);
}

TEST_F(BoardLayout, ClearMakesAPictureOfTheCurrentClientAreaAndKeepsThePen) {
  board.ChoosePen(5);
  board.ChooseColour(clGreen);
  board.MouseDown(MouseButton::Right, 7, 8);
  board.PanelResized(800, 400);
  EXPECT_EQ(board.ViewSize(), (Size{800, 400}));
  EXPECT_EQ(board.PictureSize(), (Size{602, 258}));  // the picture keeps its size
  board.Clear();
  ASSERT_EQ(surfaces.made.size(), 2u);
  EXPECT_EQ(board.PictureSize(), (Size{800, 400}));
  EXPECT_EQ(board.NibWidth(), 6);
  EXPECT_EQ(board.StampX(), 7);
  EXPECT_EQ(surfaces.Last().Recorder().BrushColour(), clGreen);
  EXPECT_EQ(surfaces.Last().Recorder().PenColour(), clGreen);
  EXPECT_TRUE(board.TakeChanges().all);
}

TEST_F(BoardLayout, OpenedBitmapPutsTheViewInNaturalModeAtItsSize) {
  board.OpenPicture("C:\\x\\seal.BMP", BmpFile(120, 80, 24));
  EXPECT_EQ(board.Mode(), LayoutMode::Natural);
  EXPECT_EQ(board.ViewSize(), (Size{120, 80}));
  EXPECT_EQ(board.Kind(), PictureKind::Bitmap);
  EXPECT_EQ(surfaces.Last().Recorder().PenColour(), clRed);
  // A resize gives the view the panel's outer size; the next ink the picture's.
  board.PanelResized(700, 300);
  EXPECT_EQ(board.ViewSize(), (Size{702, 302}));
  board.MouseDown(MouseButton::Left, 5, 5);
  EXPECT_EQ(board.ViewSize(), (Size{702, 302}));
  board.MouseMove(6, 6);
  board.MouseUp();
  EXPECT_EQ(board.ViewSize(), (Size{120, 80}));
  // A clear goes back to fill mode at the client area.
  board.Clear();
  EXPECT_EQ(board.Mode(), LayoutMode::Fill);
  EXPECT_EQ(board.ViewSize(), (Size{700, 300}));
  EXPECT_EQ(board.PictureSize(), (Size{700, 300}));
}

TEST_F(BoardLayout, FillModeResizeKeepsTheViewOnTheClientArea) {
  board.PanelResized(300, 100);
  EXPECT_EQ(board.ViewSize(), (Size{300, 100}));
  board.MouseDown(MouseButton::Left, 1, 1);
  board.MouseMove(2, 2);
  EXPECT_EQ(board.ViewSize(), (Size{300, 100}));
}

TEST_F(BoardLayout, FailedOpenKeepsThePictureButTheModeIsNatural) {
  board.MouseDown(MouseButton::Left, 1, 1);
  board.MouseMove(2, 2);
  RecordingSurface* before = &surfaces.Last();
  const std::vector<std::uint8_t> notABmp = {'h', 'e', 'l', 'l', 'o'};
  EXPECT_THROW(board.OpenPicture("a.bmp", notABmp), PictureError);
  EXPECT_THROW(board.OpenPicture("icon.ico", BmpFile(4, 4, 24)), PictureError);
  EXPECT_THROW(board.OpenPicture("noext", BmpFile(4, 4, 24)), PictureError);
  EXPECT_EQ(&surfaces.Last(), before);
  EXPECT_EQ(board.Kind(), PictureKind::Bitmap);
  EXPECT_EQ(board.PictureSize(), (Size{602, 258}));
  EXPECT_EQ(board.Mode(), LayoutMode::Natural);
  EXPECT_EQ(board.ViewSize(), (Size{602, 258}));
}

TEST_F(BoardLayout, SealReplacesThePictureAtItsOwnSize) {
  board.TakeSeal(BmpFile(200, 150, 8));
  EXPECT_EQ(board.Mode(), LayoutMode::Natural);
  EXPECT_EQ(board.ViewSize(), (Size{200, 150}));
  EXPECT_EQ(board.Kind(), PictureKind::Bitmap);
  auto snap = board.Snapshot();
  ASSERT_TRUE(std::holds_alternative<Bitmap>(snap));
  EXPECT_EQ(std::get<Bitmap>(snap).BitsPerPixel(), 8);
}

// A seal with alpha is ink on white paper: shown over white, in the PNG with its own alpha, in
// the BMP thresholded.
TEST_F(BoardLayout, SealWithAlphaIsInkOnWhitePaper) {
  struct Case {
    std::uint8_t b, g, r, alpha;
    std::uint32_t shown;  // over white, 0x00BBGGRR
    std::uint32_t bmp;
  };
  const Case cases[] = {
      {0, 0, 255, 255, clRed, clRed},       // full ink
      {0, 0, 255, 0, clWhite, clWhite},     // none: white whatever the colour bytes
      {0, 0, 0, 0, clWhite, clWhite},
      {0, 0, 255, 128, 0x7F7FFF, clRed},    // an edge: half the ink
      {128, 0, 0, 64, 0xDFBFBF, clWhite},   // navy at a quarter
  };
  Bitmap seal(int(std::size(cases)), 1, 32);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    std::uint8_t* p = seal.Row(0) + 4 * i;
    p[0] = cases[i].b;
    p[1] = cases[i].g;
    p[2] = cases[i].r;
    p[3] = cases[i].alpha;
  }
  VectorSink file;
  WriteBmp(seal, file);
  board.TakeSeal(file.data);
  const auto snap = board.Snapshot();
  ASSERT_TRUE(std::holds_alternative<Bitmap>(snap));
  const Bitmap& shown = std::get<Bitmap>(snap);
  VectorSink png, bmp;
  board.WritePng(png);
  board.WritePicture(bmp);
  const PngImage alpha = ReadPng(png.data);
  const Bitmap keyed = ReadBmp(bmp.data);
  ASSERT_EQ(alpha.channels, 4);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(shown.PixelRGB(int(i), 0), cases[i].shown) << i;
    EXPECT_EQ(alpha.pixels[4 * i + 3], cases[i].alpha) << i;
    if (cases[i].alpha) EXPECT_EQ(alpha.pixels[4 * i], cases[i].r) << i;
    EXPECT_EQ(keyed.PixelRGB(int(i), 0), cases[i].bmp) << i;
  }
}

TEST_F(BoardLayout, UnreadableSealLeavesAWhiteBoardOfTheViewSize) {
  const std::vector<std::uint8_t> junk(10, 0x42);
  EXPECT_THROW(board.TakeSeal(junk), PictureError);
  EXPECT_EQ(board.Kind(), PictureKind::Bitmap);
  EXPECT_EQ(board.PictureSize(), (Size{602, 258}));
  EXPECT_EQ(surfaces.made.size(), 2u);
  EXPECT_TRUE(surfaces.Last().Recorder().DrawingOps().empty());
}

}  // namespace
}  // namespace inkra::board
