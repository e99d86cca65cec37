#include "TfrmAbout.h"

#include <cmath>
#include <stdexcept>

#include "Dpi.h"
#include "PictureAtDpi.h"
#include "Product.h"
#include "TextConvert.h"

namespace inkra::about {
namespace {

using inkra::win::Utf8ToWide;
using inkra::win::CreateFontAtDpi;

constexpr wchar_t kClass[] = L"TfrmAbout";
constexpr int kWidth = 340, kHeight = 170;  // client area
constexpr int kPictureSize = 96;

// The picture: a signature written with the board's own flat nib, at `dpi`.
std::unique_ptr<inkra::win::GdiCanvas> MakePicture(int dpi) {
  return inkra::win::DrawPictureAtDpi(kPictureSize, kPictureSize, 32, dpi, [](Canvas& canvas) {
    canvas.SetPenColour(clRed);
    canvas.SetBrushColour(clRed);
    constexpr int w = 4;
    int lastX = 10, lastY = 60;
    for (int i = 1; i <= 72; ++i) {
      const double t = i / 72.0;
      const int x = 10 + int(72 * t);
      const int y = 56 - int(22 * std::sin(t * 9.0) * (1.0 - t * 0.5)) + int(10 * t);
      const Point quad[4] = {{lastX, lastY}, {x, y}, {x + w, y + w}, {lastX + w, lastY + w}};
      canvas.Polygon(quad);
      lastX = x;
      lastY = y;
    }
  });
}

}  // namespace

TfrmAbout::TfrmAbout() {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const std::wstring title = L"关于 " + Utf8ToWide(kProductName);
  inkra::win::DpiAwareScope aware;  // built in per-monitor coordinates whatever the host's thread is
  Create({kClass, GetSysColorBrush(COLOR_BTNFACE)}, WS_EX_DLGMODALFRAME, title.c_str(), style, 0, 0, 0, 0, nullptr);
  BuildOrDestroy([this] {
    PlaceCentred(kWidth, kHeight);
    HWND button = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0,
                                  0, 0, Handle(), reinterpret_cast<HMENU>(INT_PTR(kCloseButton)),
                                  inkra::win::ThisModule(), nullptr);
    if (!button) throw std::runtime_error("Cannot create the about box's button");
    DpiChanged();
  });
}

void TfrmAbout::DpiChanged() {
  const int dpi = Dpi();
  picture_ = MakePicture(dpi);
  auto font = CreateFontAtDpi(inkra::win::FaceFont(L"新宋体", FW_NORMAL, FIXED_PITCH | FF_MODERN), -16, dpi);
  titleFont_ = CreateFontAtDpi(inkra::win::FaceFont(L"黑体", FW_BOLD, DEFAULT_PITCH), -20, dpi);
  HWND button = GetDlgItem(Handle(), kCloseButton);
  SetWindowPos(button, nullptr, Scaled(kWidth - 96), Scaled(kHeight - 40), Scaled(80), Scaled(28),
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(button, WM_SETFONT, WPARAM(font.get()), TRUE);
  font_ = std::move(font);  // the old font goes once the button has the new one
  InvalidateRect(Handle(), nullptr, TRUE);
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
  BitBlt(dc, Scaled(16), Scaled(16), picture_->Width(), picture_->Height(), picture_->Dc(), 0, 0, SRCCOPY);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = SelectObject(dc, titleFont_.get());
  const std::wstring name = Utf8ToWide(kProductName);
  TextOutW(dc, Scaled(128), Scaled(28), name.c_str(), int(name.size()));
  SelectObject(dc, font_.get());
  const std::wstring version = L"版本 " + Utf8ToWide(kProductVersion);
  TextOutW(dc, Scaled(128), Scaled(62), version.c_str(), int(version.size()));
  SelectObject(dc, old);
  EndPaint(Handle(), &ps);
}

}  // namespace inkra::about
