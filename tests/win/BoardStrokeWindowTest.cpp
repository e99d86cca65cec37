// The real board window driven as a user would: strokes on pixels, pen list, right button,
// resize.
#include <gtest/gtest.h>

#include <optional>

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
  // The pen's tip after the placement list, off.
  RECT list;
  GetWindowRect(board.PlacementList(), &list);
  GetWindowRect(board.PenTipBox(), &r);
  EXPECT_GT(r.left, list.right);
  EXPECT_EQ(UiDriver::Text(board.PenTipBox()), L"笔锋");
  EXPECT_EQ(SendMessageW(board.PenTipBox(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(board.PenList(), CB_GETCOUNT, 0, 0), 7);
  EXPECT_EQ(UiDriver::Text(board.PenList()), L"普通");
  EXPECT_EQ(UiDriver::Text(board.Handle()), L"InkraSoft 手写板 1.0");
  Bitmap b = BoardPixels(board);
  EXPECT_EQ(b.Width(), 602);
  EXPECT_EQ(b.Height(), 258);
  EXPECT_TRUE(AllWhite(b));
}

// The curve runs one sample behind the pointer: its last piece, drawn at the release, reaches the
// view then, not with the next stroke.
TEST_F(BoardStrokes, TheReleaseShowsTheStrokesLastPiece) {
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver&) { Stroke(board.View(), {{40, 50}, {120, 90}, {200, 60}}); });
  EXPECT_FALSE(AllWhite(BoardPixels(board)));
  EXPECT_FALSE(board.Model().ChangesPending());
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
  EXPECT_EQ(b.PixelRGB(40, 49), kWhite);
  // Beside the diagonal the nib's slanted edge covers half a pixel: half red over the white.
  EXPECT_EQ(b.PixelRGB(41, 50), 0x7F7FFFu);
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
  // Mostly inked (the curve through the turns bends a little off the straight rows).
  const auto inked = [&](int x, int y) { return (b.PixelRGB(x, y) & 0xFF) == 0xFF && (b.PixelRGB(x, y) >> 8 & 0xFF) < 0x80; };
  EXPECT_TRUE(inked(601, 101));  // out to the edge
  EXPECT_TRUE(inked(580, 121));  // and back in while still held
  EXPECT_TRUE(inked(21, 0));     // up past the top
  EXPECT_TRUE(inked(21, 201));
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

namespace inkra::test {
namespace {

// Pens whose pressure the pointer's id gives, so each posted message carries its own: pointer 1
// touches lightly, pointer 2 presses fully, pointer 9 is a finger.
class FakePens final : public board::win::PointerSource {
 public:
  std::optional<board::win::PenReading> Read(UINT32 pointerId) override {
    if (pointerId == 9) return board::win::PenReading{};
    return board::win::PenReading{true, pointerId == 1 ? 0.0f : 1.0f};
  }
};

void PostPointer(HWND view, UINT message, UINT32 id, int x, int y) {
  POINT p{x, y};
  ClientToScreen(view, &p);
  PostMessageW(view, message, MAKEWPARAM(id, 0), MAKELPARAM(p.x, p.y));
}

TEST(BoardPen, ThePensPressureSetsTheBandsWidthAlongTheStroke) {
  board::MemorySettingsStore noSettings;
  FakePens pens;
  board::win::BoardOptions options;
  options.settings = {&noSettings};
  options.pointers = &pens;
  board::win::TfrmWhiteBorad board(options);
  using board::win::kWmPointerDown, board::win::kWmPointerUpdate, board::win::kWmPointerUp;
  EXPECT_EQ(DriveBoard(board,
                       [&](UiDriver& d) {
                         const HWND view = board.View();
                         PostPointer(view, kWmPointerDown, 1, 60, 100);
                         // The lightest touch: 40 % of the chosen width; full pressure: 160 %.
                         PostPointer(view, kWmPointerUpdate, 1, 160, 100);
                         PostPointer(view, kWmPointerUpdate, 1, 260, 100);
                         PostPointer(view, kWmPointerUpdate, 2, 360, 100);
                         PostPointer(view, kWmPointerUpdate, 2, 460, 100);
                         PostPointer(view, kWmPointerUp, 2, 460, 100);
                         // A finger's pointer messages are left to the system: no ink of ours.
                         PostPointer(view, kWmPointerDown, 9, 60, 200);
                         PostPointer(view, kWmPointerUpdate, 9, 300, 200);
                         PostPointer(view, kWmPointerUp, 9, 300, 200);
                       }),
            std::vector<std::string>{});
  const ink::InkLayer* ink = board.Model().Ink();
  ASSERT_NE(ink, nullptr);
  const auto rows = [&](int x, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y) n += ink->At(x, y).coverage > 0;
    return n;
  };
  // The nib of 3 reaches 3 px: 1.2 light, 4.8 full, plus its pixel.
  EXPECT_EQ(rows(110, 90, 120), 3);
  EXPECT_EQ(rows(410, 90, 120), 6);
  EXPECT_EQ(rows(200, 190, 230), 0);
}

}  // namespace
}  // namespace inkra::test
