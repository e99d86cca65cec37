// The seal commands of the board with the real seal dialogs.
#include <gtest/gtest.h>

#include <filesystem>

#include "MemorySettingsStore.h"
#include "TextConvert.h"
#include "UtOneSign.h"
#include "uSign.h"
#include "support/BoardDriver.h"
#include "SquareSeal.h"

namespace inkra::test {
namespace {

using board::MemorySettingsStore;
using board::win::BoardOptions;
using board::win::TfrmWhiteBorad;

class BoardSeals : public ::testing::Test {
 protected:
  void TearDown() override { DeleteFileW(sealPath.c_str()); }
  BoardOptions Options() {
    BoardOptions o;
    o.settings = {&noSettings};
    o.handOffPath = TempPath(L"handoff.wmf");
    o.sealHandOffPath = sealPath;
    return o;
  }
  MemorySettingsStore noSettings;
  std::wstring sealPath = TempPath(L"seal.bmp");
};

TEST_F(BoardSeals, CancelledSealLeavesTheBoardAsItWas) {
  TfrmWhiteBorad board(Options());
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    WaitForBoard(d);
    Stroke(board.View(), {{10, 10}, {40, 10}});
    ClickTool(board.Toolbar(), board::win::kBtnReplace);
    HWND dialog = d.WaitForWindow(L"TfrmSign", L"公章制作");
    d.PressButton(dialog, win::TfrmSign::idBtnCanle);
    d.WaitUntilGone(dialog);
    d.Close(board.Handle());
  });
  board.ShowModal();
  EXPECT_EQ(ui.Join(), std::vector<std::string>{});
  EXPECT_EQ(board.Model().Mode(), board::LayoutMode::Fill);
  Bitmap b = BoardPixels(board);
  EXPECT_EQ(b.Width(), 602);
  EXPECT_EQ(b.PixelRGB(25, 11), 0x0000FFu);
}

TEST_F(BoardSeals, ConfirmedSealReplacesTheWritingAtItsOwnSize) {
  TfrmWhiteBorad board(Options());
  std::wstring face;  // as the dialog found it installed
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    WaitForBoard(d);
    Stroke(board.View(), {{300, 200}, {340, 200}});
    ClickTool(board.Toolbar(), board::win::kBtnFind);
    HWND dialog = d.WaitForWindow(L"TfrmOneSign", L"私章制作");
    face = UiDriver::Text(d.Child(dialog, L"ComboBox", nullptr, win::TfrmOneSign::idSignFont));
    d.PressButton(dialog, win::TfrmOneSign::idBtnOk);
    d.WaitUntilGone(dialog);
    d.Close(board.Handle());
  });
  board.ShowModal();
  EXPECT_EQ(ui.Join(), std::vector<std::string>{});
  EXPECT_EQ(board.Model().Mode(), board::LayoutMode::Natural);
  Bitmap b = BoardPixels(board);
  EXPECT_LT(b.Width(), 602);
  EXPECT_EQ(board.ImageWidth(), b.Width());
  EXPECT_EQ(board.ImageHeight(), b.Height());
  ASSERT_NE(board.Model().Ink(), nullptr);  // the seal is ink on white paper, the writing gone with the old picture
  EXPECT_TRUE(board.Model().Paper());
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(sealPath)));
  // The board shows what the dialog showed: the seal's ink, edges blended into the white.
  win::GdiGlyphSource glyphs(96);
  SquareSealParams drawn;
  drawn.face = win::WideToUtf8(face);
  const auto ink = win::DrawSealInk(glyphs, kSquareSealSide, kSquareSealSide,
                                    [&drawn](Canvas& c) { DrawSquareSeal(c, drawn); });
  const Bitmap shown = win::InkOverWhite(*ink)->ToBitmap();
  ASSERT_EQ(std::pair(b.Width(), b.Height()), std::pair(shown.Width(), shown.Height()));
  int worst = 0, blends = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const std::uint32_t got = b.PixelRGB(x, y), want = shown.PixelRGB(x, y);
      for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)));
      blends += got != clRed && got != clWhite;
    }
  EXPECT_LE(worst, 1) << "rounding apart, the board's seal is the dialog's";
  EXPECT_GT(blends, 200) << "the seal's edges reached the board without their coverage";
}

}  // namespace
}  // namespace inkra::test
