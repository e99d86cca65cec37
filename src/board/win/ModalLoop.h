#pragma once
// A modal message loop for a window without an owner: runs until `done` turns true. A WM_QUIT
// seen on the way ends the loop and is posted again for the outer loop. Keys of the window's
// accelerator table, if it has one, become its WM_COMMANDs whichever control has the focus.
#include <windows.h>

namespace inkra::board::win {

void RunModalLoop(HWND window, const bool& done, HACCEL accelerators = nullptr);

}  // namespace inkra::board::win
