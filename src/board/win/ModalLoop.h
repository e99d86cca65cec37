#pragma once
// A modal message loop for a window without an owner: runs until `done` turns true. A WM_QUIT
// seen on the way ends the loop and is posted again for the outer loop.
#include <windows.h>

namespace inkra::board::win {

void RunModalLoop(HWND window, const bool& done);

}  // namespace inkra::board::win
