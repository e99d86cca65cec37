#pragma once
// Every message box of the shell goes through here (a real MessageBoxW), so that a test drives them
// all the same way.
#include <windows.h>

#include <string>

namespace inkra::win {

// caption null: the system's default caption. Returns the pressed button (IDOK, ...).
int ShowMessage(HWND owner, const std::wstring& text, const wchar_t* caption, UINT flags);

}  // namespace inkra::win
