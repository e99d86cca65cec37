#pragma once
// The board tool's two jobs.
#include <string>

int RunBoardScreens(const std::wstring& folder);
int RunBoardTimings();
int RunScanTimings();
