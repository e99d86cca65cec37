#pragma once
// Board-specific steps for the UI driver: find the board, write strokes on its view, press its
// toolbar buttons and lists, choose popup menu items, and read what it left behind.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "UiDriver.h"
#include "WhiteBorad.h"

namespace inkra::test {

// The visible board window.
HWND WaitForBoard(UiDriver& d);
// Shows the board modally while `steps` drive it, then (unless told not to) closes it. Returns
// the driver's failures, empty when every step did its work.
std::vector<std::string> DriveBoard(board::win::TfrmWhiteBorad& board, const std::function<void(UiDriver&)>& steps,
                                    bool close = true);

// A left press at the first point, a move to each point (the first included), a release at the
// last one.
void Stroke(HWND view, const std::vector<POINT>& points);
// Presses and releases a toolbar button as a mouse would, at the middle of its rectangle; nothing
// reaches a toolbar that is disabled or inside a disabled window.
void ClickTool(HWND toolbar, int command);
// Selects an entry of a drop-down list and tells its parent, as a user's choice does.
void ChooseListEntry(HWND combo, int index);
// A right click on the view at (x, y), then the popup item at `item` (0-based) by keyboard;
// -1 dismisses the menu with Escape.
void ChoosePopupItem(UiDriver& d, HWND view, int x, int y, int item);
// Opens `path` through the board's real open dialog.
void OpenThroughDialog(UiDriver& d, HWND toolbar, const std::wstring& path);
// In the source manager's "Select Source" dialog (Wine's): the source named `product`, then the
// button (IDOK or IDCANCEL).
void ChooseTwainSource(UiDriver& d, const wchar_t* product, int button);
// The product name of the test feeder data source.
inline constexpr const wchar_t* kTestFeeder = L"Inkra Test Feeder";
// Waits for a message box with this caption, reads it and presses OK.
MessageBoxInfo AnswerMessageBox(UiDriver& d, const wchar_t* caption);

// In an open dialog: goes into `folder`, waits until its file list shows `count` entries, and
// returns that list (a new one for each folder).
HWND EnterFolder(UiDriver& d, HWND dialog, const std::wstring& folder, int count);
// Selects the one entry of a dialog's file list whose name starts with `prefix`, as a click does.
void SelectListEntry(UiDriver& d, HWND list, const std::wstring& prefix);
// Polls until `done` holds; fails the step after a few seconds.
void Eventually(UiDriver& d, const std::function<bool()>& done, const std::string& what);

// The board picture as it stands (bitmap, or a JPEG's decoded pixels).
Bitmap BoardPixels(const board::win::TfrmWhiteBorad& board);
// From a step: polls `ready` on the board's own thread, between two of its messages, and returns
// the picture as it stood when `ready` held. Read from the driver's thread, a picture could be
// caught half way through an undo.
Bitmap BoardPixelsOnceSettled(UiDriver& d, const board::win::TfrmWhiteBorad& board,
                              const std::function<bool()>& ready, const std::string& what);
// Number of pixels of colour `c` in row y between x0 and x1 (exclusive).
int CountInRow(const Bitmap& b, int y, int x0, int x1, std::uint32_t c);
bool AllWhite(const Bitmap& b);

// A file path under the Wine prefix's temporary folder, unique to this test process.
std::wstring TempPath(const std::wstring& name);
std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path);

}  // namespace inkra::test
