// The seal commands of the board with the real seal dialogs.
#include <gtest/gtest.h>

#include <filesystem>

#include "MemorySettingsStore.h"
#include "UtOneSign.h"
#include "uSign.h"
#include "support/BoardDriver.h"

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
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    WaitForBoard(d);
    Stroke(board.View(), {{300, 200}, {340, 200}});
    ClickTool(board.Toolbar(), board::win::kBtnFind);
    HWND dialog = d.WaitForWindow(L"TfrmOneSign", L"私章制作");
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
  EXPECT_EQ(b.BitsPerPixel(), 24);  // the seal file's own depth
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(sealPath)));
}

}  // namespace
}  // namespace inkra::test
