#pragma once
// The board tool's two jobs.
#include <string>

int RunBoardScreens(const std::wstring& folder);
int RunBoardTimings(const wchar_t* jpegPath);  // null: a made-up page
int RunScanTimings();
