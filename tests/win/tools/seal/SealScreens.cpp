// Shows the seal dialogs one after another and captures each from the screen into a BMP:
//   seal_screens.exe <output folder>
// Run under a real display (Xvfb); scripts/screenshot-seals turns the BMPs into PNGs.
#include <windows.h>

#include <cstdio>
#include <string>

#include "Bmp.h"
#include "ByteSink.h"
#include "GdiCanvas.h"
#include "UtOneSign.h"
#include "uSign.h"

namespace {

using namespace inkra;
using namespace inkra::win;

std::wstring g_folder;
std::wstring g_shot;
HWND g_window = nullptr;

void Save(const Bitmap& picture, const std::wstring& name) {
  VectorSink bmp;
  WriteBmp(picture, bmp);
  WriteFileBytes(std::filesystem::path(g_folder + L"\\" + name + L".bmp"), bmp.data);
}

void CALLBACK CaptureAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
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

template <typename Form>
void Shoot(Form& form, const std::wstring& name) {
  g_window = form.Handle();
  g_shot = name;
  SetTimer(nullptr, 0, 1200, CaptureAndClose);
  form.ShowModal();
  if (form.Picture()) Save(form.Picture()->ToBitmap(), name + L"-picture");
  std::wprintf(L"%ls\n", name.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: seal_screens <output folder>\n");
    return 2;
  }
  g_folder = argv[1];
  try {
    {
      TfrmSign form;
      Shoot(form, L"round-defaults");
    }
    {
      TfrmSign form;
      SetWindowTextW(GetDlgItem(form.Handle(), TfrmSign::idInput),
                     L"一二三四五六七八九十甲乙丙丁戊己庚辛");
      Shoot(form, L"round-18-characters");
    }
    {
      TfrmOneSign form;
      Shoot(form, L"square-defaults");
    }
    {
      TfrmOneSign form;
      SetWindowTextW(GetDlgItem(form.Handle(), TfrmOneSign::idValue), L"张三");
      Shoot(form, L"square-two-characters");
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "seal_screens: %s\n", e.what());
    return 1;
  }
  return 0;
}
