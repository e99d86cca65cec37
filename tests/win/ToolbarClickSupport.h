#pragma once
// A click on an add-in's button, end to end, for either host: the add-in connected to a host
// double, a 400 x 300 picture that the board's Open command loads, the hand-off file in the
// temporary folder, and the real board driven by the UI driver.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "AddInTestSupport.h"
#include "Bmp.h"
#include "ByteSink.h"
#include "HandOffFile.h"
#include "HostTexts.h"
#include "TextConvert.h"
#include "MemorySettingsStore.h"
#include "ToolbarAddIn.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/BoardDriver.h"
#include "support/ClipboardReader.h"

namespace inkra::addin {

// The open dialog answered with one fixed file.
class FixedOpenDialog final : public board::win::FileDialogs {
 public:
  std::wstring path;
  std::optional<std::wstring> OpenPicture(HWND) override { return path; }
  std::optional<std::wstring> SavePicture(HWND) override { return std::nullopt; }
};

inline bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The clipboard emptied, so that a picture found there later was put there by the test's click.
inline void EmptyTheClipboard() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
}

// The size of the device-independent bitmap on the clipboard; nullopt when there is none.
inline std::optional<SIZE> ClipboardPictureSize() {
  BITMAPINFOHEADER header{};
  if (!test::ClipboardDibHeader(header)) return std::nullopt;
  return SIZE{header.biWidth, std::abs(header.biHeight)};
}

// A picture the host refused: exactly one box, captioned with the button's name, saying why
// (reason, UTF-8) and that the signature of width x height pixels is on the clipboard.
inline void ExpectKeptOnTheClipboard(const std::vector<test::MessageBoxInfo>& boxes, const std::string& reason,
                                     int width, int height) {
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, L"手写签名");
  EXPECT_EQ(boxes[0].text, win::Utf8ToWide(NotInsertedText(reason, true)));
  EXPECT_EQ(boxes[0].icon, test::MessageIcon::Warning);
  const std::optional<SIZE> kept = ClipboardPictureSize();
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(kept->cx, width);
  EXPECT_EQ(kept->cy, height);
}

inline BOOL CALLBACK CountBoard(HWND window, LPARAM found) {
  if (test::UiDriver::ClassName(window) == L"TfrmWhiteBorad") ++*reinterpret_cast<int*>(found);
  return TRUE;
}
// Board windows of this thread, hidden ones included (tests in other processes have their own).
inline int BoardWindowsOfThisThread() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountBoard, reinterpret_cast<LPARAM>(&count));
  return count;
}

class HostClick : public ::testing::Test {
 protected:
  using BoardUser = std::function<void(test::UiDriver&, HWND board, HWND toolbar, HWND view)>;

  HostClick(test::office::HostKind kind, TToolbarAddIn* created) : host(kind), addIn(win::Adopt(created)) {}

  void SetUp() override {
    picture400x300 = test::TempPath(L"host-400x300.bmp");
    VectorSink bmp;
    WriteBmp(Bitmap(400, 300, 24), bmp);
    WriteFileBytes(picture400x300, bmp.data);
    dialogs.path = picture400x300;
    handOff = test::TempPath(L"host-handoff.wmf");
    seal = test::TempPath(L"host-seal.bmp");
    addIn->SetBoardOptions(Options());
    ASSERT_EQ(addIn->OnConnection(host.Application(), 0, nullptr, nullptr), S_OK);
    button = host.profile().Find(L"InkraSoft")->controls.at(0);
    host.log().Clear();
  }
  void TearDown() override {
    DeleteFileW(picture400x300.c_str());
    DeleteFileW(handOff.c_str());
    DeleteFileW(seal.c_str());
  }
  board::win::BoardOptions Options() {
    board::win::BoardOptions o;
    o.settings = {&noSettings};
    o.dialogs = &dialogs;
    o.handOffPath = handOff;
    o.sealHandOffPath = seal;
    return o;
  }
  // Clicks the button; `user` drives the board (its window, toolbar and view). With `boxes`, a
  // watch for message boxes follows on the same driver.
  void Click(const BoardUser& user, DWORD timeoutMs = 10000, std::vector<test::MessageBoxInfo>* boxes = nullptr) {
    test::UiDriver ui(timeoutMs);
    ui.Then([&](test::UiDriver& d) {
      HWND board = test::WaitForBoard(d);
      user(d, board, d.Child(board, TOOLBARCLASSNAMEW, nullptr), d.Child(board, L"InkraBoardView", nullptr));
    });
    if (boxes) WatchForMessageBoxes(ui, *boxes);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(FireClick(host, *button, cancel), S_OK);
    EXPECT_EQ(cancel, VARIANT_FALSE);
    EXPECT_EQ(ui.Join(), std::vector<std::string>{});
    // The board is destroyed whatever happened, not merely hidden.
    EXPECT_EQ(BoardWindowsOfThisThread(), 0);
  }
  // Word: a document "Document1", active.
  void OpenDocument() {
    auto document = std::make_shared<test::office::DocumentState>();
    document->name = L"Document1";
    host.Word().documents.push_back(document);
    host.Word().active = 0;
    host.Word().created = 1;
  }
  // Excel: a workbook "Book1" of three worksheets, the second one active.
  void OpenWorkbook() {
    host.Excel().AddWorkbook().activeSheet = 1;
    host.log().Clear();
  }
  static void Confirm(test::UiDriver&, HWND, HWND toolbar, HWND) { test::ClickTool(toolbar, board::win::kBtnOK); }
  // Opens the 400 x 300 picture (natural mode: the view takes its size) and confirms.
  static void ConfirmPicture(test::UiDriver&, HWND, HWND toolbar, HWND) {
    test::ClickTool(toolbar, board::win::kBtnOpen);
    test::ClickTool(toolbar, board::win::kBtnOK);
  }

  test::Apartment apartment;
  test::office::HostDouble host;
  win::ComPtr<TToolbarAddIn> addIn;
  std::shared_ptr<test::office::ControlState> button;
  board::MemorySettingsStore noSettings;
  FixedOpenDialog dialogs;
  std::wstring picture400x300, handOff, seal;
};

}  // namespace inkra::addin
