#include "ComboFill.h"

namespace inkra::win {

void AddComboEntries(HWND combo, const std::vector<std::wstring>& entries) {
  SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
  SendMessageW(combo, CB_INITSTORAGE, WPARAM(entries.size()), 0);
  for (const std::wstring& entry : entries) SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(entry.c_str()));
  SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
}

void MakeRoomToDrop(HWND combo, int heightWithList) {
  RECT field{};
  GetWindowRect(combo, &field);
  SetWindowPos(combo, nullptr, 0, 0, field.right - field.left, heightWithList,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

}  // namespace inkra::win
