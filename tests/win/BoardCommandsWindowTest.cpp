// The board's commands through its real window: confirm, exit, close box, open, save, time
// stamp, undo and redo, pictures too large to open or to take back, and the general error handler.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Bmp.h"
#include "BoardTexts.h"
#include "HandOffFile.h"
#include "MemorySettingsStore.h"
#include "TextConvert.h"
#include "TwainTestSupport.h"
#include "../unit/BoardTestJpeg.h"
#include "support/BoardDriver.h"
#include "support/GdiObjects.h"

namespace inkra::test {
namespace {

using board::MemorySettingsStore;
using inkra::win::WideToUtf8;
using board::win::BoardOptions;
using board::win::TfrmWhiteBorad;
namespace fs = std::filesystem;

const std::wstring kTitle = L"InkraSoft 手写板 1.0";

class BoardCommands : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const auto& p : cleanup) {
      std::error_code ec;
      fs::remove_all(fs::path(p), ec);
    }
  }
  BoardOptions Options() {
    BoardOptions o;
    o.settings = {&noSettings};
    o.handOffPath = Scratch(L"handoff.wmf");
    return o;
  }
  std::wstring Scratch(const std::wstring& name) {
    cleanup.push_back(TempPath(name));
    return cleanup.back();
  }
  // A scratch file holding these bytes (a picture to open through the dialog).
  std::wstring ScratchFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    const std::wstring path = Scratch(name);
    WriteFile(path, bytes);
    return path;
  }
  void Drive(TfrmWhiteBorad& board, std::function<void(UiDriver&)> steps, bool close = true) {
    EXPECT_EQ(DriveBoard(board, steps, close), std::vector<std::string>{});
  }
  void WriteFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(fs::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

  MemorySettingsStore noSettings;
  std::vector<std::wstring> cleanup;
};

TEST_F(BoardCommands, ConfirmOnAFreshBoardWritesAWhiteBitmapAndAccepts) {
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver&) { ClickTool(board.Toolbar(), board::win::kBtnOK); }, false);
  EXPECT_TRUE(board.Accepted());
  EXPECT_EQ(board.HandOffPath(), Options().handOffPath);
  auto bytes = ReadWholeFile(board.HandOffPath());
  ASSERT_GT(bytes.size(), 54u);
  Bitmap b = ReadBmp(bytes);
  EXPECT_EQ(b.Width(), 602);
  EXPECT_EQ(b.Height(), 258);
  EXPECT_TRUE(AllWhite(b));
  EXPECT_EQ(bytes[14], 40);  // a 40-byte information header
  EXPECT_EQ(board.ImageWidth(), 602);
  EXPECT_EQ(board.ImageHeight(), 258);
}

TEST_F(BoardCommands, ConfirmWritesTheFixedPathByDefault) {
  const std::wstring fixed = L"c:\\00000001InkraWebWhirte.wmf";
  DeleteFileW(fixed.c_str());
  BoardOptions o = Options();
  o.handOffPath.clear();
  TfrmWhiteBorad board(o);
  Drive(board, [&](UiDriver&) { ClickTool(board.Toolbar(), board::win::kBtnOK); }, false);
  EXPECT_TRUE(board.Accepted());
  EXPECT_EQ(board.HandOffPath(), fixed);
  EXPECT_EQ(ReadBmp(ReadWholeFile(fixed)).Width(), 602);
  DeleteFileW(fixed.c_str());
}

TEST_F(BoardCommands, RefusedFixedPathFallsBackToTheTemporaryFolder) {
  // A folder standing at the fixed path makes its creation fail with access denied.
  const std::wstring fixed = L"c:\\board" + std::to_wstring(GetCurrentProcessId()) + L"-refused.wmf";
  ASSERT_TRUE(CreateDirectoryW(fixed.c_str(), nullptr));
  cleanup.push_back(fixed);
  BoardOptions o = Options();
  o.handOffPath = fixed;
  TfrmWhiteBorad board(o);
  Drive(board, [&](UiDriver&) { ClickTool(board.Toolbar(), board::win::kBtnOK); }, false);
  EXPECT_TRUE(board.Accepted());
  const std::wstring standIn = win::TempFolderPathFor(fixed);
  cleanup.push_back(standIn);
  EXPECT_EQ(board.HandOffPath(), standIn);
  EXPECT_EQ(ReadBmp(ReadWholeFile(standIn)).Height(), 258);
}

TEST_F(BoardCommands, UnwritableHandOffKeepsTheBoardOpenAndNotAccepted) {
  BoardOptions o = Options();
  o.handOffPath = L"q:\\no-such-drive\\x.wmf";
  TfrmWhiteBorad board(o);
  MessageBoxInfo seen;
  Drive(board, [&](UiDriver& d) {
    ClickTool(board.Toolbar(), board::win::kBtnOK);
    seen = AnswerMessageBox(d, kTitle.c_str());
    EXPECT_TRUE(IsWindowVisible(board.Handle()));
  });
  EXPECT_FALSE(board.Accepted());
  EXPECT_EQ(seen.text, L"Cannot create file q:\\no-such-drive\\x.wmf");
  ASSERT_EQ(seen.buttons.size(), 1u);
  EXPECT_EQ(seen.icon, MessageIcon::None);
}

TEST_F(BoardCommands, ExitAndTheCloseBoxLeaveAcceptedFalse) {
  TfrmWhiteBorad exited(Options());
  Drive(exited, [&](UiDriver&) {
    Stroke(exited.View(), {{5, 5}, {50, 9}});
    ClickTool(exited.Toolbar(), board::win::kBtnExit);
  }, false);
  EXPECT_FALSE(exited.Accepted());
  EXPECT_TRUE(ReadWholeFile(Options().handOffPath).empty());
  TfrmWhiteBorad closed(Options());
  Drive(closed, [&](UiDriver&) { PostMessageW(closed.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, false);
  EXPECT_FALSE(closed.Accepted());
}

TEST_F(BoardCommands, OpenedJpegConfirmedAtOnceReachesTheHandOffByteForByte) {
  const auto jpeg = board::testing::MakeJpeg(120, 90, 30, 140, 220);
  const std::wstring path = ScratchFile(L"photo.jpg", jpeg);
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver& d) {
    OpenThroughDialog(d, board.Toolbar(), path);
    ClickTool(board.Toolbar(), board::win::kBtnOK);
  }, false);
  EXPECT_TRUE(board.Accepted());
  EXPECT_EQ(board.ImageWidth(), 120);
  EXPECT_EQ(board.ImageHeight(), 90);
  EXPECT_EQ(ReadWholeFile(board.HandOffPath()), jpeg);
}

TEST_F(BoardCommands, StrokeOnAnOpenedJpegMakesABitmapOfItsPixels) {
  const auto jpeg = board::testing::MakeJpeg(64, 48, 255, 255, 255);
  const std::wstring path = ScratchFile(L"white.jpeg", jpeg);
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver& d) {
    OpenThroughDialog(d, board.Toolbar(), path);
    Stroke(board.View(), {{10, 10}, {30, 10}});
    ClickTool(board.Toolbar(), board::win::kBtnOK);
  }, false);
  Bitmap b = ReadBmp(ReadWholeFile(board.HandOffPath()));
  EXPECT_EQ(b.Width(), 64);
  EXPECT_EQ(b.PixelRGB(20, 11), 0x0000FFu);
  EXPECT_GT(b.PixelRGB(50, 40) & 0xFF, 0xF0u);  // the JPEG's own white
}

TEST_F(BoardCommands, RefusedFileTypeAndBrokenFileLeaveThePicture) {
  const std::wstring ico = Scratch(L"logo.ico");
  WriteFile(ico, {0, 0, 1, 0, 1, 0});
  const std::wstring fake = Scratch(L"fake.bmp");
  WriteFile(fake, board::testing::MakeJpeg(8, 8, 1, 2, 3));
  TfrmWhiteBorad board(Options());
  MessageBoxInfo first, second;
  Drive(board, [&](UiDriver& d) {
    Stroke(board.View(), {{10, 10}, {30, 10}});
    OpenThroughDialog(d, board.Toolbar(), ico);
    first = AnswerMessageBox(d, kTitle.c_str());
    OpenThroughDialog(d, board.Toolbar(), fake);
    second = AnswerMessageBox(d, kTitle.c_str());
  });
  EXPECT_NE(first.text.find(L".ico"), std::wstring::npos);
  EXPECT_FALSE(second.text.empty());
  Bitmap b = BoardPixels(board);
  EXPECT_EQ(b.Width(), 602);
  EXPECT_EQ(b.PixelRGB(20, 11), 0x0000FFu);
}

TEST_F(BoardCommands, OpenedBitmapSetsTheViewToItsSizeAndSaveKeepsItsEncoding) {
  VectorSink bmp;
  WriteBmp(Bitmap(100, 60, 24), bmp);
  const std::wstring in = Scratch(L"in.bmp");
  WriteFile(in, bmp.data);
  const std::wstring out = Scratch(L"saved.jpg");
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver& d) {
    OpenThroughDialog(d, board.Toolbar(), in);
    Stroke(board.View(), {{10, 10}, {30, 10}});
    ClickTool(board.Toolbar(), board::win::kBtnSave);
    HWND dialog = d.WaitForWindow(kDialogClass, nullptr);
    d.FillFileDialog(dialog, out);
    d.WaitUntilGone(dialog);
  });
  EXPECT_EQ(board.ImageWidth(), 100);
  EXPECT_EQ(board.ImageHeight(), 60);
  auto saved = ReadWholeFile(out);
  ASSERT_GT(saved.size(), 2u);
  EXPECT_EQ(saved[0], 'B');  // a bitmap under a .jpg name
  Bitmap b = ReadBmp(saved);
  EXPECT_EQ(b.BitsPerPixel(), 24);  // the file's own depth
  EXPECT_EQ(b.PixelRGB(20, 11), 0x0000FFu);
}

TEST_F(BoardCommands, TimeStampDrawsTodayOnWhiteAtTheStampPoint) {
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver& d) {
    Stroke(board.View(), {{40, 40}, {200, 40}, {200, 44}, {40, 44}});
    ChoosePopupItem(d, board.View(), 60, 35, 1);
  });
  EXPECT_EQ(board.Model().StampX(), 60);
  Bitmap b = BoardPixels(board);
  // The stamp's box covers the stroke under it; the stroke goes on beside it (its inside rows:
  // the curve through the turn bends the band's edge a little).
  for (int y = 41; y <= 42; ++y) {
    EXPECT_EQ(CountInRow(b, y, 62, 150, 0x0000FFu), 0) << "row " << y;
    EXPECT_EQ(CountInRow(b, y, 44, 58, 0x0000FFu), 14) << "row " << y;
  }
  int dark = 0;
  for (int y = 35; y < 50; ++y)
    for (int x = 60; x < 200; ++x)
      if ((b.PixelRGB(x, y) & 0xFF) < 0x80) ++dark;
  EXPECT_GT(dark, 30);  // glyphs in the window-text colour
}

// Waits until the board's history holds these counts, then the picture as it stands.
Bitmap Settled(UiDriver& d, const TfrmWhiteBorad& board, std::size_t undo, std::size_t redo) {
  const board::UndoHistory& h = board.Model().History();
  return BoardPixelsOnceSettled(d, board, [&] { return h.UndoCount() == undo && h.RedoCount() == redo; },
                                "a history of " + std::to_string(undo) + " and " + std::to_string(redo));
}

TEST_F(BoardCommands, UndoAndRedoKeysTakeBackAndBringBackStrokesAndTheStamp) {
  TfrmWhiteBorad board(Options());
  std::vector<Bitmap> seen;  // as each key left the picture
  Bitmap first, second;
  Drive(board, [&](UiDriver& d) {
    Stroke(board.View(), {{20, 20}, {120, 80}});
    first = Settled(d, board, 1, 0);
    Stroke(board.View(), {{200, 40}, {100, 200}, {300, 220}});
    ChoosePopupItem(d, board.View(), 90, 60, 1);  // a time stamp over both strokes
    second = Settled(d, board, 3, 0);
    d.PressKeys({VK_CONTROL, 'Z'});
    d.PressKeys({VK_CONTROL, 'Z'});
    seen.push_back(Settled(d, board, 1, 2));
    d.PressKeys({VK_CONTROL, VK_SHIFT, 'Z'});
    d.PressKeys({VK_CONTROL, 'Y'});
    seen.push_back(Settled(d, board, 3, 0));
    d.PressKeys({VK_CONTROL, 'Z'});
    d.PressKeys({VK_CONTROL, 'Z'});
    d.PressKeys({VK_CONTROL, 'Z'});
    seen.push_back(Settled(d, board, 0, 3));
    d.PressKeys({VK_CONTROL, 'Y'});
    seen.push_back(Settled(d, board, 1, 2));
  });
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_FALSE(AllWhite(first));
  EXPECT_NE(first.Pixels(), second.Pixels());
  EXPECT_EQ(seen[0].Pixels(), first.Pixels());
  EXPECT_EQ(seen[1].Pixels(), second.Pixels());
  EXPECT_TRUE(AllWhite(seen[2]));
  EXPECT_EQ(seen[3].Pixels(), first.Pixels());
}

TEST_F(BoardCommands, AnOpenedJpegWhoseOnlyStrokeIsUndoneReachesTheHandOffByteForByte) {
  const auto jpeg = board::testing::MakeJpeg(120, 90, 30, 140, 220);
  const std::wstring path = ScratchFile(L"undone.jpg", jpeg);
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver& d) {
    OpenThroughDialog(d, board.Toolbar(), path);
    Stroke(board.View(), {{10, 10}, {60, 40}});
    Settled(d, board, 2, 0);  // the open and the stroke
    d.PressKeys({VK_CONTROL, 'Z'});
    Settled(d, board, 1, 1);
    ClickTool(board.Toolbar(), board::win::kBtnOK);
  }, false);
  EXPECT_TRUE(board.Accepted());
  EXPECT_EQ(ReadWholeFile(board.HandOffPath()), jpeg);
}

TEST_F(BoardCommands, AboutBoxOpensAndClosesWithItsButton) {
  TfrmWhiteBorad board(Options());
  std::wstring text;
  Drive(board, [&](UiDriver& d) {
    ClickTool(board.Toolbar(), board::win::kBtnInformation);
    HWND about = d.WaitForWindow(L"TfrmAbout", nullptr);
    text = UiDriver::Text(about);
    d.PressButton(about, L"确定");
    d.WaitUntilGone(about);
  });
  EXPECT_NE(text.find(L"InkraSoft"), std::wstring::npos);
}

// Ctrl+Z or Ctrl+Y with the button still held ends the stroke: the moves after it paint no
// tail, and what the key took back or brought back stays so.
TEST_F(BoardCommands, UndoOrRedoKeyWithTheButtonHeldEndsTheStroke) {
  TfrmWhiteBorad board(Options());
  Bitmap afterUndo, afterRedo, end;
  Drive(board, [&](UiDriver& d) {
    const HWND view = board.View();
    d.LeftDown(view, 20, 20);
    d.MouseMove(view, 70, 40);
    d.MouseMove(view, 120, 60);  // the curve runs a sample behind: this settles the first piece
    BoardPixelsOnceSettled(d, board, [&] { return !AllWhite(BoardPixels(board)); }, "the first piece painted");
    d.PressKeys({VK_CONTROL, 'Z'});
    afterUndo = Settled(d, board, 0, 1);
    d.MouseMove(view, 200, 150);  // the button is still down
    d.MouseMove(view, 260, 200);
    d.PressKeys({VK_CONTROL, 'Y'});  // taken after the moves: input comes after posted messages
    afterRedo = Settled(d, board, 1, 0);
    d.MouseMove(view, 300, 220);
    d.LeftUp(view, 300, 220);
    // The release added no step: one undo empties the history, one redo brings the same back.
    d.PressKeys({VK_CONTROL, 'Z'});
    Settled(d, board, 0, 1);
    d.PressKeys({VK_CONTROL, 'Y'});
    end = Settled(d, board, 1, 0);
  });
  EXPECT_TRUE(AllWhite(afterUndo));
  // The first step came back; the moves after the key painted no tail from (120, 60).
  EXPECT_GT(CountInRow(afterRedo, 41, 60, 80, 0x0000FFu), 0);
  EXPECT_EQ(CountInRow(afterRedo, 105, 140, 185, 0x0000FFu), 0);
  EXPECT_EQ(CountInRow(afterRedo, 175, 215, 250, 0x0000FFu), 0);
  EXPECT_EQ(end.Pixels(), afterRedo.Pixels());
}

// The history holds earlier pictures as pixels, not as surfaces: hundreds of clears, each kept
// for undo, and a hundred undos among them leave the process's GDI objects where they were.
TEST_F(BoardCommands, ClearsKeptForUndoHoldNoGdiObjects) {
  TfrmWhiteBorad board(Options());
  long settled = 0, afterClears = 0, afterUndos = 0;
  std::size_t held = 0;
  Drive(board, [&](UiDriver& d) {
    const board::UndoHistory& h = board.Model().History();
    Stroke(board.View(), {{20, 20}, {120, 80}});
    for (int i = 0; i < 10; ++i) ClickTool(board.Toolbar(), board::win::kBtnDelete);
    Settled(d, board, 11, 0);
    settled = GdiObjectCount();
    for (int i = 0; i < 290; ++i) ClickTool(board.Toolbar(), board::win::kBtnDelete);
    Stroke(board.View(), {{300, 20}, {400, 80}});  // seen once every click before it is done
    BoardPixelsOnceSettled(d, board, [&] { return !AllWhite(BoardPixels(board)); }, "the stroke after the clears");
    held = h.PicturesHeld();
    afterClears = GdiObjectCount();
    const std::size_t undo = h.UndoCount();
    for (int i = 0; i < 100; ++i) d.PressKeys({VK_CONTROL, 'Z'});
    Settled(d, board, undo - 100, 100);
    afterUndos = GdiObjectCount();
  });
  EXPECT_GT(settled, 0);
  EXPECT_GE(held, 100u);
  EXPECT_LE(afterClears, settled + 5);
  EXPECT_LE(afterUndos, settled + 5);
}

// A 20000 x 20000 picture (1.1 GB of pixels) is refused from its headers with a message that
// says why; the board keeps its picture and its layout. The BMP is a sparse file of its full
// size, which the board must not read whole.
TEST_F(BoardCommands, APictureTooLargeForTheBoardIsRefusedBeforeItIsRead) {
  const std::wstring jpeg = ScratchFile(L"huge.jpg", board::testing::JpegClaiming(20000, 20000));
  const std::wstring bmp = ScratchFile(L"huge.bmp", board::testing::BmpHeadersOf(20000, 20000, 24));
  fs::resize_file(fs::path(bmp), 54 + 60000ull * 20000);
  TfrmWhiteBorad board(Options());
  std::vector<MessageBoxInfo> boxes;
  Bitmap before;
  Drive(board, [&](UiDriver& d) {
    Stroke(board.View(), {{10, 10}, {30, 10}});
    before = Settled(d, board, 1, 0);
    for (const std::wstring& path : {jpeg, bmp}) {
      OpenThroughDialog(d, board.Toolbar(), path);
      boxes.push_back(AnswerMessageBox(d, kTitle.c_str()));
    }
  });
  ASSERT_EQ(boxes.size(), 2u);
  for (const MessageBoxInfo& box : boxes) {
    EXPECT_NE(box.text.find(L"图片太大"), std::wstring::npos) << WideToUtf8(box.text);
    EXPECT_NE(box.text.find(L"20000 × 20000"), std::wstring::npos);
  }
  EXPECT_EQ(BoardPixels(board).Pixels(), before.Pixels());
  EXPECT_EQ(board.Model().Mode(), board::LayoutMode::Fill);
  EXPECT_EQ(board.Model().History().UndoCount(), 1u);
}

// A scan past what the board holds (5200 x 5000 at 32 bits, 99 MiB) is refused as Open refuses
// such a picture, before its surface is made: the board keeps its picture, and Ctrl+Z still
// takes back the stroke before it.
TEST_F(BoardCommands, AScanTooLargeForTheBoardIsRefusedWithTheOpenMessage) {
  twain::test::ManagerPlacement placed(twain::test::Manager::Fake);
  placed.SetScript(twain::test::PagesScript(1, 5200, 5000));
  TfrmWhiteBorad board(Options());
  MessageBoxInfo refused;
  Drive(board, [&](UiDriver& d) {
    Stroke(board.View(), {{10, 10}, {30, 10}});
    Settled(d, board, 1, 0);
    ClickTool(board.Toolbar(), board::win::kBtnScan);
    refused = AnswerMessageBox(d, L"扫描");
    d.PressKeys({VK_CONTROL, 'Z'});
    Settled(d, board, 0, 1);
  });
  EXPECT_NE(refused.text.find(L"图片太大"), std::wstring::npos) << WideToUtf8(refused.text);
  EXPECT_NE(refused.text.find(L"5200 × 5000"), std::wstring::npos);
  EXPECT_EQ(board.Model().PictureSize(), (board::Size{602, 258}));
  EXPECT_TRUE(AllWhite(BoardPixels(board)));
}

}  // namespace
}  // namespace inkra::test
