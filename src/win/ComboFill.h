#pragma once
// Filling a combo box's list in one go.
#include <windows.h>

#include <string>
#include <vector>

namespace inkra::win {

// Appends `entries` to the combo box's list with its drawing held off meanwhile, so the list
// lays itself out and updates its scroll bar once, not once for every entry.
void AddComboEntries(HWND combo, const std::vector<std::wstring>& entries);

}  // namespace inkra::win
