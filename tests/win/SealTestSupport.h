#pragma once
// Helpers shared by the seal dialog tests: scratch paths, reading a written seal back, and
// user actions the driver thread takes without waiting for the dialog's answer.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>

#include "Bitmap.h"
#include "Bmp.h"
#include "ByteSink.h"
#include "HandOffFile.h"
#include "SealForm.h"
#include "support/UiDriver.h"

namespace inkra::test {

// A fresh scratch folder under the temporary folder, removed with its files by the destructor.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (const std::wstring& dir : dirs_) RemoveDirectoryW(dir.c_str());
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::wstring file = path_ + L"\\" + found.cFileName;
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
      } while (FindNextFileW(find, &found));
      FindClose(find);
    }
    RemoveDirectoryW(path_.c_str());
  }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
  // A directory where a file is expected: writing there is refused.
  std::wstring Blocked(const std::wstring& name) {
    std::wstring dir = File(name);
    CreateDirectoryW(dir.c_str(), nullptr);
    dirs_.push_front(dir);
    return dir;
  }
  // The fixed path and its stand-in in the temporary folder both blocked: every write is refused.
  std::wstring BlockedWithStandIn(const std::wstring& name) {
    std::wstring fixed = Blocked(name);
    std::wstring standIn = win::TempFolderPathFor(fixed);
    CreateDirectoryW(standIn.c_str(), nullptr);
    dirs_.push_front(standIn);
    return fixed;
  }

 private:
  std::wstring path_;
  std::deque<std::wstring> dirs_;
};

inline bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline Bitmap ReadBack(const std::wstring& path) {
  std::vector<std::uint8_t> bytes = ReadFileBytes(std::filesystem::path(path));
  return ReadBmp(bytes);
}

// What the dialog shows: its ink over white.
inline Bitmap ShownBy(const win::SealForm& form) {
  return form.Picture() ? form.Picture()->ToBitmap() : Bitmap(0, 0, 24);
}

// The hand-off file read back carries the dialog's ink exactly: colour and straight alpha.
inline void ExpectCarriesInk(const Bitmap& file, const win::SealForm& form) {
  ASSERT_NE(form.Ink(), nullptr);
  EXPECT_EQ(file.BitsPerPixel(), 32);
  const Bitmap ink = win::SealBitmap(*form.Ink());
  ASSERT_EQ(file.Width(), ink.Width());
  ASSERT_EQ(file.Height(), ink.Height());
  EXPECT_TRUE(file.Pixels() == ink.Pixels()) << "the file differs from the ink shown";
}

// How much of `colour` a pixel over white shows, from 0 (white) to 1 (the colour), judged on
// the channel where the two differ most; negative when the pixel is no blend of the two.
inline double InkShare(std::uint32_t pixel, ColourValue colour) {
  int widest = 0;
  for (int shift : {8, 16})
    if (255 - int((colour >> shift) & 0xFF) > 255 - int((colour >> widest) & 0xFF)) widest = shift;
  for (int shift : {0, 8, 16})
    if (((pixel >> shift) & 0xFF) < ((colour >> shift) & 0xFF)) return -1;
  const int white = 255 - int((colour >> widest) & 0xFF);
  return white == 0 ? -1 : (255 - int((pixel >> widest) & 0xFF)) / double(white);
}

// Walking from (x, y) by (dx, dy): c where the pixel is (nearly: 90 % or more) the seal colour,
// w where it is (nearly) white, ? for an edge between, x for anything else.
inline std::string Walk(const Bitmap& b, ColourValue colour, int x, int y, int dx, int dy, int count) {
  std::string seen;
  for (int i = 0; i < count; ++i, x += dx, y += dy) {
    const double share = InkShare(b.PixelRGB(x, y), colour);
    seen += share < 0 ? 'x' : share >= 0.9 ? 'c' : share <= 0.1 ? 'w' : '?';
  }
  return seen;
}

// Sets a control's text as typing would change it, without waiting for the handlers to finish
// (they may show a message box that the driver itself has to answer). The texts live until the
// process ends, since the dialog may read them after the driver moved on.
inline void SetTextNoWait(HWND control, const std::wstring& text) {
  static std::deque<std::wstring> keep;
  keep.push_back(text);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(keep.back().c_str()),
                      SMTO_NORMAL, 300, &result);
}

// Selects a combo box entry and tells the dialog, as a choice in the list does.
inline void ChooseEntry(HWND dialog, HWND combo, int index) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(combo, CB_SETCURSEL, WPARAM(index), 0, SMTO_NORMAL, 2000, &result);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

// Chooses entry `index` of a seal dialog's template list and waits until the dialog has set its
// fields and drawn the seal again (sent, not posted).
inline void ChooseTemplate(HWND dialog, int listId, int index) {
  HWND list = GetDlgItem(dialog, listId);
  DWORD_PTR done = 0;
  SendMessageTimeoutW(list, CB_SETCURSEL, WPARAM(index), 0, SMTO_NORMAL, 5000, &done);
  SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list),
                      SMTO_NORMAL, 10000, &done);
}

// The outer extent (columns, rows) of the pixels of a width x height picture where `inked` holds:
// a seal's ring measured as a ruler would.
inline std::pair<int, int> InkExtent(int width, int height, const std::function<bool(int x, int y)>& inked) {
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (inked(x, y)) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  return {right - left + 1, bottom - top + 1};
}

inline void PostKey(HWND control, UINT key) {
  PostMessageW(control, WM_KEYDOWN, key, 1);
  PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

inline std::wstring TextOf(HWND control) { return UiDriver::Text(control); }

// Polls until the condition holds (true) or five seconds have passed (false): posted input is
// handled in order, so seeing its effect also says everything posted before it was handled.
inline bool Eventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 500; ++i) {
    if (condition()) return true;
    Sleep(10);
  }
  return condition();
}

inline std::wstring TextOnceItIs(HWND control, const std::wstring& expected) {
  Eventually([&] { return TextOf(control) == expected; });
  return TextOf(control);
}

// Waits for a "提示" box, reads it and answers OK.
inline MessageBoxInfo AnswerHint(UiDriver& d) {
  HWND box = d.WaitForWindow(kDialogClass, L"提示");
  MessageBoxInfo info = d.ReadMessageBox(box);
  d.PressButton(box, IDOK);
  d.WaitUntilGone(box);
  return info;
}

}  // namespace inkra::test
