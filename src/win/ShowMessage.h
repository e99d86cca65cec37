#pragma once
// Every message box of the product goes through here: a real MessageBoxW, after which the
// control that had the focus has it again (a box takes the focus away and, closing, hands
// activation back to its owner, which alone would not give the field its focus and caret).
#include <windows.h>

#include <string>

namespace inkra::win {

// caption null: the system's default caption. Returns the pressed button (IDOK, ...).
int ShowMessage(HWND owner, const std::wstring& text, const wchar_t* caption, UINT flags);

}  // namespace inkra::win
