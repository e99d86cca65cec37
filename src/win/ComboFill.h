#pragma once
// Filling a combo box's list in one go, and giving the list its room to drop.
#include <windows.h>

#include <string>
#include <vector>

namespace inkra::win {

// Appends `entries` to the combo box's list with its drawing held off meanwhile, so the list
// lays itself out and updates its scroll bar once, not once for every entry.
void AddComboEntries(HWND combo, const std::vector<std::wstring>& entries);

// A drop-down list is made at the height of its closed field: made taller, the window system
// lays it out a second time at once to shrink it back. Its list gets the room to drop into just
// before it drops (call on CBN_DROPDOWN): the combo box sized to `heightWithList` pixels, field
// and list together, keeps the list's part and shrinks back to its field.
void MakeRoomToDrop(HWND combo, int heightWithList);

}  // namespace inkra::win
