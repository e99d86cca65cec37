#include "ComboFill.h"

namespace inkra::win {

void AddComboEntries(HWND combo, const std::vector<std::wstring>& entries) {
  SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
  SendMessageW(combo, CB_INITSTORAGE, WPARAM(entries.size()), 0);
  for (const std::wstring& entry : entries) SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(entry.c_str()));
  SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
}

}  // namespace inkra::win
