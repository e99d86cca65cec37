// The real board window driven as a user would: strokes on pixels, pen list, right button,
// resize.
#include <gtest/gtest.h>

#include "MemorySettingsStore.h"
#include "support/BoardDriver.h"

namespace inkra::test {
namespace {

using board::MemorySettingsStore;
using board::win::BoardOptions;
using board::win::TfrmWhiteBorad;

constexpr std::uint32_t kRed = 0x0000FF, kWhite = 0xFFFFFF;

class BoardStrokes : public ::testing::Test {
 protected:
  BoardOptions Options() {
    BoardOptions o;
    o.settings = {&noSettings};
    o.handOffPath = TempPath(L"handoff.wmf");
    return o;
  }
  // Runs the board modally while `steps` drive it, then closes it.
  void Drive(TfrmWhiteBorad& board, std::function<void(UiDriver&)> steps) {
    EXPECT_EQ(DriveBoard(board, steps), std::vector<std::string>{});
  }
  MemorySettingsStore noSettings;
};

TEST_F(BoardStrokes, FreshBoardLayout) {
  TfrmWhiteBorad board(Options());
  EXPECT_EQ(board.ImageWidth(), 602);
  EXPECT_EQ(board.ImageHeight(), 258);
  RECT r;
  GetWindowRect(board.Toolbar(), &r);
  EXPECT_EQ(r.bottom - r.top, 44);
  GetWindowRect(board.PenBar(), &r);
  EXPECT_EQ(r.bottom - r.top, 32);
  GetWindowRect(board.PenList(), &r);
  EXPECT_EQ(r.right - r.left, 61);
  GetWindowRect(board.ColourList(), &r);
  EXPECT_EQ(r.right - r.left, 104);
  EXPECT_EQ(SendMessageW(board.PenList(), CB_GETCOUNT, 0, 0), 7);
  EXPECT_EQ(UiDriver::Text(board.PenList()), L"普通");
  EXPECT_EQ(UiDriver::Text(board.Handle()), L"InkraSoft 手写板 1.0");
  Bitmap b = BoardPixels(board);
  EXPECT_EQ(b.Width(), 602);
  EXPECT_EQ(b.Height(), 258);
  EXPECT_TRUE(AllWhite(b));
}

TEST_F(BoardStrokes, PressAndReleaseWithoutMovementLeavesNoMark) {
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver& d) {
    d.LeftDown(board.View(), 40, 40);
    d.LeftUp(board.View(), 40, 40);
  });
  EXPECT_TRUE(AllWhite(BoardPixels(board)));
  EXPECT_FALSE(board.Accepted());
}

TEST_F(BoardStrokes, MoveAtThePressPointPaintsTheNibAlone) {
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver&) { Stroke(board.View(), {{40, 50}}); });
  Bitmap b = BoardPixels(board);
  for (int i = 0; i <= 3; ++i) EXPECT_EQ(b.PixelRGB(40 + i, 50 + i), kRed) << i;
  EXPECT_EQ(b.PixelRGB(44, 54), kWhite);
  EXPECT_EQ(b.PixelRGB(39, 49), kWhite);
  EXPECT_EQ(b.PixelRGB(41, 50), kWhite);
}

TEST_F(BoardStrokes, DownRightIsOnePixelWideAndUpRightIsBroad) {
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver&) {
    Stroke(board.View(), {{10, 10}, {40, 40}});     // along the nib
    Stroke(board.View(), {{100, 100}, {130, 70}});  // across the nib
  });
  Bitmap b = BoardPixels(board);
  for (int y = 12; y < 40; ++y) {
    EXPECT_EQ(CountInRow(b, y, 0, 60, kRed), 1) << "row " << y;
    EXPECT_EQ(b.PixelRGB(y, y), kRed);
  }
  // Across the nib every row inside the band holds about twice the nib's width.
  for (int y = 75; y < 100; ++y) EXPECT_GE(CountInRow(b, y, 90, 140, kRed), 4) << "row " << y;
}

TEST_F(BoardStrokes, StrokeDraggedOutOfTheViewEndsAtTheReleaseOutside) {
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver&) {
    Stroke(board.View(), {{550, 100}, {700, 100}, {700, 120}, {560, 120}});
    Stroke(board.View(), {{20, 200}, {20, -50}});
  });
  Bitmap b = BoardPixels(board);
  EXPECT_EQ(b.PixelRGB(601, 101), kRed);   // out to the edge
  EXPECT_EQ(b.PixelRGB(580, 121), kRed);   // and back in while still held
  EXPECT_EQ(b.PixelRGB(21, 0), kRed);      // up past the top
  EXPECT_EQ(b.PixelRGB(21, 201), kRed);
}

TEST_F(BoardStrokes, FirstStrokeUsesThreePixelsAndNormalLaterGivesFour) {
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver&) {
    Stroke(board.View(), {{50, 50}});
    ChooseListEntry(board.PenList(), 0);
    ChooseListEntry(board.PenList(), 3);
    Stroke(board.View(), {{100, 50}});
  });
  Bitmap b = BoardPixels(board);
  EXPECT_EQ(b.PixelRGB(53, 53), kRed);
  EXPECT_EQ(b.PixelRGB(54, 54), kWhite);
  EXPECT_EQ(b.PixelRGB(104, 54), kRed);
  EXPECT_EQ(b.PixelRGB(105, 55), kWhite);
  EXPECT_EQ(board.Model().NibWidth(), 4);
}

TEST_F(BoardStrokes, RightButtonStoresTheStampPointAndDrawsNothing) {
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver& d) {
    ChoosePopupItem(d, board.View(), 70, 80, -1);
    d.MouseMove(board.View(), 90, 90, false);
  });
  EXPECT_EQ(board.Model().StampX(), 70);
  EXPECT_EQ(board.Model().StampY(), 80);
  EXPECT_TRUE(AllWhite(BoardPixels(board)));
}

TEST_F(BoardStrokes, EnlargedWindowDrawsNothingInTheNewAreaUntilCleared) {
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver&) {
    RECT r;
    GetWindowRect(board.Handle(), &r);
    SetWindowPos(board.Handle(), nullptr, 0, 0, r.right - r.left + 200, r.bottom - r.top + 100,
                 SWP_NOMOVE | SWP_NOZORDER);
    Stroke(board.View(), {{700, 50}, {720, 60}});
  });
  EXPECT_EQ(board.ImageWidth(), 802);
  EXPECT_EQ(board.ImageHeight(), 358);
  Bitmap before = BoardPixels(board);
  EXPECT_EQ(before.Width(), 602);
  EXPECT_TRUE(AllWhite(before));
  Drive(board, [&](UiDriver&) {
    ClickTool(board.Toolbar(), board::win::kBtnDelete);
    Stroke(board.View(), {{700, 50}, {720, 60}});
  });
  Bitmap after = BoardPixels(board);
  EXPECT_EQ(after.Width(), 802);
  EXPECT_EQ(after.Height(), 358);
  EXPECT_EQ(after.PixelRGB(710, 55), kRed);
}

TEST_F(BoardStrokes, ColourListChangesTheStrokeColour) {
  TfrmWhiteBorad board(Options());
  const int blue = [&] {
    for (int i = 0; i < board.ColourPicker().Count(); ++i)
      if (board.ColourPicker().EntryValue(i) == clBlue) return i;
    return -1;
  }();
  ASSERT_GE(blue, 0);
  Drive(board, [&](UiDriver&) {
    Stroke(board.View(), {{10, 10}, {30, 10}});
    ChooseListEntry(board.ColourList(), blue);
    Stroke(board.View(), {{10, 50}, {30, 50}});
  });
  Bitmap b = BoardPixels(board);
  EXPECT_EQ(b.PixelRGB(20, 11), kRed);
  EXPECT_EQ(b.PixelRGB(20, 51), 0xFF0000u);
}

}  // namespace
}  // namespace inkra::test
