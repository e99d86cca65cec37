#include "BoardDriver.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "BoardTexts.h"
#include "TextConvert.h"

namespace inkra::test {

HWND WaitForBoard(UiDriver& d) {
  static const std::wstring title = win::Utf8ToWide(board::BoardTitle());
  return d.WaitForWindow(L"TfrmWhiteBorad", title.c_str());
}

void Stroke(HWND view, const std::vector<POINT>& points) {
  if (points.empty()) return;
  PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(points[0].x, points[0].y));
  for (const POINT& p : points) PostMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  PostMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(points.back().x, points.back().y));
}

void ClickTool(HWND toolbar, int command) {
  // A mouse click never reaches a window that is disabled, or inside one that is.
  for (HWND w = toolbar; w; w = GetParent(w))
    if (!IsWindowEnabled(w)) return;
  RECT r{};
  SendMessageW(toolbar, TB_GETRECT, WPARAM(command), LPARAM(&r));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageW(toolbar, WM_MOUSEMOVE, 0, at);
  PostMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(toolbar, WM_LBUTTONUP, 0, at);
}

void ChooseListEntry(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, WPARAM(index), 0);
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), LPARAM(combo));
}

void ChoosePopupItem(UiDriver& d, HWND view, int x, int y, int item) {
  d.RightDown(view, x, y);
  d.RightUp(view, x, y);
  HWND menu = d.WaitForWindow(L"#32768", nullptr);
  auto key = [&](WPARAM vk) {
    PostMessageW(menu, WM_KEYDOWN, vk, 0);
    PostMessageW(menu, WM_KEYUP, vk, 0xC0000000);
  };
  if (item < 0) {
    key(VK_ESCAPE);
  } else {
    for (int i = 0; i <= item; ++i) key(VK_DOWN);
    key(VK_RETURN);
  }
  d.WaitUntilGone(menu);
}

void OpenThroughDialog(UiDriver& d, HWND toolbar, const std::wstring& path) {
  ClickTool(toolbar, board::win::kBtnOpen);
  HWND dialog = d.WaitForWindow(kDialogClass, nullptr);
  d.FillFileDialog(dialog, path);
  d.WaitUntilGone(dialog);
}

void ChooseTwainSource(UiDriver& d, const wchar_t* product, int button) {
  HWND dialog = d.WaitForWindow(kDialogClass, L"Select Source");
  HWND list = GetDlgItem(dialog, 1001);
  const LRESULT entry = SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(product));
  if (entry == LB_ERR) d.Fail("the source is not in the manager's list");
  SendMessageW(list, LB_SETCURSEL, WPARAM(entry), 0);
  d.PressButton(dialog, button);
  d.WaitUntilGone(dialog);
}

MessageBoxInfo AnswerMessageBox(UiDriver& d, const wchar_t* caption) {
  HWND box = d.WaitForWindow(kDialogClass, caption);
  MessageBoxInfo info = d.ReadMessageBox(box);
  d.PressButton(box, IDOK);
  d.WaitUntilGone(box);
  return info;
}

HWND EnterFolder(UiDriver& d, HWND dialog, const std::wstring& folder, int count) {
  d.FillFileDialog(dialog, folder);  // a folder's name goes into that folder
  HWND list = nullptr;
  Eventually(d, [&] {
    // The list shown before may be another folder's with as many entries.
    wchar_t current[MAX_PATH + 1] = {};
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH + 1, reinterpret_cast<LPARAM>(current));
    if (lstrcmpiW(current, folder.c_str()) != 0) return false;
    HWND view = FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr);
    list = view ? FindWindowExW(view, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
    return list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == count;
  }, "a file list of " + std::to_string(count));
  return list;
}

void SelectListEntry(UiDriver& d, HWND list, const std::wstring& prefix) {
  LVFINDINFOW find{};
  find.flags = LVFI_STRING | LVFI_PARTIAL;
  find.psz = prefix.c_str();
  const LRESULT index = SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), reinterpret_cast<LPARAM>(&find));
  if (index < 0) d.Fail("no list entry " + win::WideToUtf8(prefix));
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&none));
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(index), reinterpret_cast<LPARAM>(&item));
}

void Eventually(UiDriver& d, const std::function<bool()>& done, const std::string& what) {
  for (int i = 0; i < 200; ++i) {
    if (done()) return;
    Sleep(25);
  }
  d.Fail("never: " + what);
}

int CountInRow(const Bitmap& b, int y, int x0, int x1, std::uint32_t c) {
  int n = 0;
  if (y < 0 || y >= b.Height()) return 0;  // a picture a failed step never took
  for (int x = std::max(x0, 0); x < std::min(x1, b.Width()); ++x)
    if (b.PixelRGB(x, y) == c) ++n;
  return n;
}

bool AllWhite(const Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.PixelRGB(x, y) != 0xFFFFFF) return false;
  return true;
}

std::wstring TempPath(const std::wstring& name) {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, folder);
  return std::wstring(folder) + L"board" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
}

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace inkra::test
