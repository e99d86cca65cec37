#pragma once
// The board tool's jobs.
#include <optional>
#include <string>

#include "FileDialogs.h"

// Dialogs that answer with one path, as if the user had chosen it.
class FixedDialogs final : public inkra::board::win::FileDialogs {
 public:
  std::optional<std::wstring> OpenPicture(HWND) override { return path; }
  std::optional<std::wstring> SavePicture(HWND) override { return path; }
  std::wstring path;
};

int RunBoardScreens(const std::wstring& folder);
int RunBoardTimings(const wchar_t* jpegPath);  // null: a made-up page
int RunScanTimings();
// "确定" at print resolution of handwriting and of a round seal, beside libpng on the same rows.
int RunPrintTimings();
// Click to the board's first paint and "公章" to the preview, beside an empty dialog.
int RunOpenTimings();
// `what`: jpeg, bmp (the largest picture the board holds), huge-jpeg, huge-bmp (20000 x 20000).
int RunBoardPeak(const std::wstring& what);
