#pragma once
// Writes what the screen shows of a window (frame included) to a BMP file.
#include <windows.h>

#include <string>

namespace inkra::demo {

// False when the window cannot be read or the file not written.
bool CaptureWindow(HWND window, const std::wstring& bmpPath);

}  // namespace inkra::demo
