#include "TfrmAbout.h"

#include <cmath>
#include <stdexcept>

#include "Product.h"
#include "TextConvert.h"

namespace inkra::about {
namespace {

using inkra::win::Utf8ToWide;

constexpr wchar_t kClass[] = L"TfrmAbout";
constexpr int kWidth = 340, kHeight = 170;  // client area
constexpr int kPictureSize = 96;

// The picture: a signature written with the board's own flat nib.
std::unique_ptr<inkra::win::GdiCanvas> MakePicture() {
  auto canvas = std::make_unique<inkra::win::GdiCanvas>(kPictureSize, kPictureSize, 32);
  canvas->SetPenColour(clRed);
  canvas->SetBrushColour(clRed);
  constexpr int w = 4;
  int lastX = 10, lastY = 60;
  for (int i = 1; i <= 72; ++i) {
    const double t = i / 72.0;
    const int x = 10 + int(72 * t);
    const int y = 56 - int(22 * std::sin(t * 9.0) * (1.0 - t * 0.5)) + int(10 * t);
    const Point quad[4] = {{lastX, lastY}, {x, y}, {x + w, y + w}, {lastX + w, lastY + w}};
    canvas->Polygon(quad);
    lastX = x;
    lastY = y;
  }
  return canvas;
}

}  // namespace

TfrmAbout::TfrmAbout() : picture_(MakePicture()) {  // the one step that can fail, before the window exists
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  RECT outer{0, 0, kWidth, kHeight};
  AdjustWindowRectEx(&outer, style, FALSE, WS_EX_DLGMODALFRAME);
  const int w = outer.right - outer.left, h = outer.bottom - outer.top;
  const std::wstring title = L"关于 " + Utf8ToWide(kProductName);
  Create({kClass, GetSysColorBrush(COLOR_BTNFACE)}, WS_EX_DLGMODALFRAME, title.c_str(), style,
         (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, nullptr);
  font_.reset(CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"新宋体"));
  titleFont_.reset(CreateFontW(-20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"黑体"));
  HWND button = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                kWidth - 96, kHeight - 40, 80, 28, Handle(),
                                reinterpret_cast<HMENU>(INT_PTR(kCloseButton)), inkra::win::ThisModule(), nullptr);
  SendMessageW(button, WM_SETFONT, WPARAM(font_.get()), FALSE);
}

TfrmAbout::~TfrmAbout() { Destroy(); }

LRESULT TfrmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kCloseButton || LOWORD(wParam) == IDCANCEL) PostMessageW(Handle(), WM_CLOSE, 0, 0);
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

void TfrmAbout::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  BitBlt(dc, 16, 16, kPictureSize, kPictureSize, picture_->Dc(), 0, 0, SRCCOPY);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = SelectObject(dc, titleFont_.get());
  const std::wstring name = Utf8ToWide(kProductName);
  TextOutW(dc, 128, 28, name.c_str(), int(name.size()));
  SelectObject(dc, font_.get());
  const std::wstring version = L"版本 " + Utf8ToWide(kProductVersion);
  TextOutW(dc, 128, 62, version.c_str(), int(version.size()));
  SelectObject(dc, old);
  EndPaint(Handle(), &ps);
}

}  // namespace inkra::about
