// The board keeps the user's work: Save never leaves half a file, an untouched JPEG stays a
// JPEG, a lost capture ends the stroke, the window keeps a drawing area, and the picture
// layer's own (English) messages never reach the user.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Bmp.h"
#include "BoardTexts.h"
#include "ByteSink.h"
#include "MemorySettingsStore.h"
#include "TextConvert.h"
#include "../unit/BoardTestJpeg.h"
#include "support/BoardDriver.h"

namespace inkra::test {
namespace {

using board::win::BoardOptions;
using board::win::TfrmWhiteBorad;
namespace fs = std::filesystem;
using Failures = std::vector<std::string>;

const std::wstring kTitle = win::Utf8ToWide(board::BoardTitle());

// The file dialogs answered with fixed paths.
class FixedDialogs final : public board::win::FileDialogs {
 public:
  std::wstring open, save;
  std::optional<std::wstring> OpenPicture(HWND) override { return open; }
  std::optional<std::wstring> SavePicture(HWND) override { return save; }
};

class BoardDataSafety : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder); }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder, ec);
    win::ColourBox::SetChooser(nullptr);
  }
  BoardOptions Options() {
    BoardOptions o;
    o.settings = {&noSettings};
    o.dialogs = &dialogs;
    o.handOffPath = (folder / L"handoff.wmf").wstring();
    return o;
  }
  static void Put(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  std::vector<std::wstring> FilesInFolder() const {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().wstring());
    return names;
  }
  // Runs the board with `steps`, then closes it; message boxes met on the way are answered.
  void Drive(TfrmWhiteBorad& board, const std::function<void(UiDriver&)>& steps) {
    EXPECT_EQ(DriveBoard(board, steps), Failures{});
  }

  fs::path folder = fs::path(TempPath(L"datasafety"));
  board::MemorySettingsStore noSettings;
  FixedDialogs dialogs;
};

TEST_F(BoardDataSafety, SaveReplacesTheFileOnlyAfterACompleteWrite) {
  const std::vector<std::uint8_t> old = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'};
  struct Case {
    const char* what;
    DWORD share;        // how another program holds the target open; ~0u: it does not
    bool lockBytes;     // and locks its bytes against writing
    bool missingFolder;
    bool saved;
  };
  const Case cases[] = {
      {"a free target is replaced", ~0u, false, false, true},
      {"a target open without sharing", 0, false, false, false},
      {"a target whose bytes are locked", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true, false, false},
      {"a folder that does not exist", ~0u, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path target = c.missingFolder ? folder / L"gone" / L"saved.bmp" : folder / L"saved.bmp";
    if (!c.missingFolder) Put(target, old);
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.share != ~0u) {
      held = CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, c.share, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
      if (c.lockBytes) {
        ASSERT_TRUE(LockFile(held, 0, 0, 1u << 20, 0));
      }
    }
    dialogs.save = target.wstring();
    TfrmWhiteBorad board(Options());
    MessageBoxInfo box;
    Drive(board, [&](UiDriver& d) {
      Stroke(board.View(), {{10, 10}, {30, 10}});
      ClickTool(board.Toolbar(), board::win::kBtnSave);
      if (!c.saved) box = AnswerMessageBox(d, kTitle.c_str());
    });
    if (held != INVALID_HANDLE_VALUE) {
      if (c.lockBytes) UnlockFile(held, 0, 0, 1u << 20, 0);
      CloseHandle(held);
    }
    if (c.saved) {
      EXPECT_EQ(ReadBmp(ReadWholeFile(target.wstring())).PixelRGB(20, 11), 0x0000FFu);
    } else {
      EXPECT_NE(box.text.find(L"saved.bmp"), std::wstring::npos) << win::WideToUtf8(box.text);
      if (!c.missingFolder) {
        EXPECT_EQ(ReadWholeFile(target.wstring()), old);
      }
    }
    // Nothing is left behind but the target itself.
    EXPECT_EQ(FilesInFolder(), c.missingFolder ? std::vector<std::wstring>{} : std::vector<std::wstring>{L"saved.bmp"});
    std::error_code ec;
    fs::remove(target, ec);
  }
}

TEST_F(BoardDataSafety, AnOpenedJpegStaysAJpegUntilAMarkIsMade) {
  const std::vector<std::uint8_t> jpeg = board::testing::MakeJpeg(64, 48, 10, 200, 30);
  Put(folder / L"photo.jpg", jpeg);
  dialogs.open = (folder / L"photo.jpg").wstring();
  struct Case {
    const char* what;
    std::function<void(TfrmWhiteBorad&)> act;
    bool stillJpeg;
  };
  const Case cases[] = {
      {"another pen colour", [](TfrmWhiteBorad& b) { ChooseListEntry(b.ColourList(), 13); }, true},
      {"another pen size", [](TfrmWhiteBorad& b) { ChooseListEntry(b.PenList(), 6); }, true},
      {"the colour dialog cancelled",
       [](TfrmWhiteBorad& b) {
         win::ColourBox::SetChooser([](HWND, COLORREF&) { return false; });
         ChooseListEntry(b.ColourList(), b.ColourPicker().Count() - 1);
       },
       true},
      {"a stroke", [](TfrmWhiteBorad& b) { Stroke(b.View(), {{5, 5}, {20, 5}}); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TfrmWhiteBorad board(Options());
    const Failures failures = DriveBoard(
        board,
        [&](UiDriver& d) {
          ClickTool(board.Toolbar(), board::win::kBtnOpen);
          Eventually(d, [&] { return board.ImageWidth() == 64; }, "the JPEG opened");
          c.act(board);
          ClickTool(board.Toolbar(), board::win::kBtnOK);
        },
        false);
    EXPECT_EQ(failures, Failures{});
    ASSERT_TRUE(board.Accepted());
    EXPECT_EQ(ReadWholeFile(board.HandOffPath()) == jpeg, c.stillJpeg);
  }
}

TEST_F(BoardDataSafety, ALostCaptureEndsTheStrokeSoHoveringPaintsNothing) {
  TfrmWhiteBorad board(Options());
  Drive(board, [&](UiDriver& d) {
    HWND view = board.View();
    d.LeftDown(view, 10, 20);
    d.MouseMove(view, 30, 20);
    PostMessageW(view, WM_CANCELMODE, 0, 0);  // what the system sends when another window takes over
    d.MouseMove(view, 60, 20, false);
    d.MouseMove(view, 90, 20, false);
  });
  const Bitmap b = BoardPixels(board);
  EXPECT_GT(CountInRow(b, 21, 10, 34, 0x0000FF), 0);
  EXPECT_EQ(CountInRow(b, 21, 34, 120, 0x0000FF), 0);
}

TEST_F(BoardDataSafety, ShrinkingTheWindowKeepsADrawingArea) {
  TfrmWhiteBorad board(Options());
  RECT panel{};
  Drive(board, [&](UiDriver&) {
    SetWindowPos(board.Handle(), nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(board.DrawingPanel(), &panel);
  });
  EXPECT_GE(panel.right, 300);
  EXPECT_GE(panel.bottom, 90);
}

TEST_F(BoardDataSafety, ThePictureLayersOwnMessagesNeverReachTheUser) {
  VectorSink huge;
  WriteBmp(Bitmap(4, 4, 24), huge);
  huge.data[18] = 0xFF, huge.data[19] = 0xFF, huge.data[20] = 0xFF, huge.data[21] = 0x7F;  // width 2^31 - 1
  const std::vector<std::uint8_t> jpeg = board::testing::MakeJpeg(8, 8, 1, 2, 3);
  struct Case {
    const wchar_t* name;
    std::vector<std::uint8_t> bytes;
    std::string expected = board::kPictureUnusable;
  };
  // A header past the board's size limit is refused in the board's own words, naming the size.
  const std::uint64_t hugeBytes = (std::uint64_t(0x7FFFFFFF) * 24 + 31) / 32 * 4 * 4;
  const Case cases[] = {
      {L"jpeg-inside.bmp", jpeg},
      {L"huge.bmp", huge.data, board::PictureTooLargeText(0x7FFFFFFF, 4, hugeBytes, board::kMaxPictureBytes)},
      {L"cut.jpg", std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 40)},
      {L"empty.jpg", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(win::WideToUtf8(c.name));
    Put(folder / c.name, c.bytes);
    dialogs.open = (folder / c.name).wstring();
    TfrmWhiteBorad board(Options());
    MessageBoxInfo box;
    Drive(board, [&](UiDriver& d) {
      ClickTool(board.Toolbar(), board::win::kBtnOpen);
      box = AnswerMessageBox(d, kTitle.c_str());
    });
    EXPECT_EQ(box.text, win::Utf8ToWide(c.expected));
  }
}

}  // namespace
}  // namespace inkra::test
