// Shows the seal dialogs, the about box and the open dialog with a seal picture previewed one
// after another and captures each from the screen into a BMP, with the seals' pictures beside them:
//   seal_screens.exe <output folder> [name suffix]
// Run under a real display (Xvfb); scripts/screenshot-seals turns the BMPs into PNGs.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

#include "Bmp.h"
#include "ByteSink.h"
#include "Dpi.h"
#include "FileDialogs.h"
#include "GdiCanvas.h"
#include "SealTemplates.h"
#include "TfrmAbout.h"
#include "UtOneSign.h"
#include "uSign.h"

namespace {

using namespace inkra;
using namespace inkra::win;

std::wstring g_folder;
std::wstring g_suffix;  // "-192" for shots at 192 dpi
std::wstring g_shot;
HWND g_window = nullptr;
std::function<void()> g_before;  // done on the shown dialog just before it is captured

void Save(const Bitmap& picture, const std::wstring& name) {
  VectorSink bmp;
  WriteBmp(picture, bmp);
  WriteFileBytes(std::filesystem::path(g_folder + L"\\" + name + g_suffix + L".bmp"), bmp.data);
}

void CALLBACK CaptureAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_before) std::exchange(g_before, nullptr)();
  DpiAwareScope aware;  // the window's and the screen's real pixels, whatever this program is
  RedrawWindow(g_window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  GdiFlush();
  Sleep(300);
  RECT r;
  GetWindowRect(g_window, &r);
  GdiCanvas shot(r.right - r.left, r.bottom - r.top, 24);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Dc(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  Save(shot.ToBitmap(), g_shot);
  PostMessageW(g_window, WM_CLOSE, 0, 0);
}

void Shoot(Window& form, const std::wstring& name) {
  g_window = form.Handle();
  g_shot = name;
  SetTimer(nullptr, 0, 1200, CaptureAndClose);
  form.ShowModal();
  std::wprintf(L"%ls\n", name.c_str());
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Selects the round seal's picture in the open dialog's file list, then captures the dialog.
void CALLBACK SelectPicture(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&g_window));
  HWND view = FindWindowExW(g_window, nullptr, L"SHELLDLL_DefView", nullptr);
  HWND list = view ? FindWindowExW(view, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
  LVFINDINFOW find{};
  find.flags = LVFI_STRING | LVFI_PARTIAL;
  find.psz = L"round-defaults-picture";
  const LRESULT index = list ? SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), reinterpret_cast<LPARAM>(&find)) : -1;
  LVITEMW item{};
  item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
  if (index >= 0) SendMessageW(list, LVM_SETITEMSTATE, WPARAM(index), reinterpret_cast<LPARAM>(&item));
  SetTimer(nullptr, 0, 800, CaptureAndClose);
}

void ShootOpenDialog(const std::wstring& name) {
  g_shot = name;
  SetCurrentDirectoryW(g_folder.c_str());  // where the seal pictures are
  SetTimer(nullptr, 0, 1500, SelectPicture);
  board::win::CommonFileDialogs().OpenPicture(nullptr);
  std::wprintf(L"%ls\n", name.c_str());
}

template <typename Seal>
void ShootSeal(Seal& form, const std::wstring& name) {
  Shoot(form, name);
  if (form.Picture()) Save(form.Picture()->ToBitmap(), name + L"-picture");
}

// The dialog with template `index` chosen as a user chooses it, and with the stamp's look.
template <typename Seal>
void ShootTemplate(int index, const std::wstring& name, bool look, const wchar_t* code = nullptr) {
  Seal form;
  g_before = [&form, index, look, code] {
    HWND list = GetDlgItem(form.Handle(), Seal::idTemplate);
    SendMessageW(list, CB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(Seal::idTemplate, CBN_SELCHANGE), LPARAM(list));
    if constexpr (std::is_same_v<Seal, TfrmSign>) {
      if (code) SetWindowTextW(GetDlgItem(form.Handle(), TfrmSign::idCodeNo), code);
    }
    if (look) SendMessageW(GetDlgItem(form.Handle(), Seal::idLook), BM_CLICK, 0, 0);
  };
  ShootSeal(form, name);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: seal_screens <output folder> [name suffix]\n");
    return 2;
  }
  g_folder = argv[1];
  if (argc > 2) g_suffix = argv[2];
  try {
    {
      TfrmSign form;
      ShootSeal(form, L"round-defaults");
    }
    {
      TfrmSign form;
      SetWindowTextW(GetDlgItem(form.Handle(), TfrmSign::idInput),
                     L"一二三四五六七八九十甲乙丙丁戊己庚辛");
      ShootSeal(form, L"round-18-characters");
    }
    {
      TfrmOneSign form;
      ShootSeal(form, L"square-defaults");
    }
    {
      TfrmOneSign form;
      SetWindowTextW(GetDlgItem(form.Handle(), TfrmOneSign::idValue), L"张三");
      ShootSeal(form, L"square-two-characters");
    }
    for (int i = 1; i < int(RoundTemplateNames().size()); ++i)
      ShootTemplate<TfrmSign>(i, L"round-template-" + std::to_wstring(i), false, L"1101000012345");
    ShootTemplate<TfrmSign>(1, L"round-template-1-look", true, L"1101000012345");
    ShootTemplate<TfrmSign>(6, L"round-template-6-look", true, L"1101000012345");
    for (int i = 1; i < int(SquareTemplateNames().size()); ++i)
      ShootTemplate<TfrmOneSign>(i, L"square-template-" + std::to_wstring(i), i == 1);
    {
      about::TfrmAbout form;
      Shoot(form, L"about");
    }
    ShootOpenDialog(L"open-preview");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "seal_screens: %s\n", e.what());
    return 1;
  }
  return 0;
}
