// A scanned picture taken onto the board: kind, layout mode, view size and colours.
#include <gtest/gtest.h>

#include "BoardFakes.h"
#include "BoardModel.h"
#include "Bmp.h"

namespace inkra::board {
namespace {

using testing::MakeJpeg;
using testing::RecordingSurface;
using testing::RecordingSurfaces;

TEST(BoardScan, TheScanReplacesThePictureAndKeepsTheLayoutMode) {
  struct Case {
    const char* name;
    bool natural, jpeg;
    Size view;
  } cases[] = {{"fill", false, false, {602, 258}},
               {"natural", true, false, {700, 500}},
               {"over a JPEG", true, true, {700, 500}}};
  for (const Case& c : cases) {
    RecordingSurfaces surfaces;
    BoardModel board(surfaces);
    board.Create(602, 258);
    board.ChooseColour(clBlue);
    if (c.natural) board.EnterNaturalMode();
    if (c.jpeg) board.OpenPicture("a.jpg", MakeJpeg(30, 20, 1, 2, 3));
    Bitmap pixels(700, 500, 32);
    pixels.Row(499)[0] = 0x42;  // blue of the bottom-left pixel, on white
    auto scan = std::make_unique<RecordingSurface>(pixels);
    RecordingSurface& held = *scan;
    board.TakeScan(std::move(scan));
    EXPECT_EQ(board.Kind(), PictureKind::Bitmap) << c.name;
    EXPECT_EQ(board.Mode(), c.natural ? LayoutMode::Natural : LayoutMode::Fill) << c.name;
    EXPECT_EQ(board.ViewSize(), c.view) << c.name;
    EXPECT_EQ(board.PictureSize(), (Size{700, 500})) << c.name;
    EXPECT_EQ(board.Shown(), &held) << c.name;
    EXPECT_TRUE(board.TakeChanges().all) << c.name;
    VectorSink written;
    board.WritePicture(written);
    EXPECT_EQ(ReadBmp(written.data).PixelRGB(0, 499), 0x42FFFFu) << c.name;
    board.MouseDown(MouseButton::Left, 1, 1);
    board.MouseMove(5, 5);
    board.MouseUp();
    EXPECT_EQ(board.Ink()->At(3, 3), (ink::InkPixel{{0, 0, 255}, 255})) << c.name;
    EXPECT_FALSE(board.Paper()) << c.name;
  }
}

}  // namespace
}  // namespace inkra::board
