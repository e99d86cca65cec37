#include "TfrmAbout.h"

#include <cmath>
#include <stdexcept>

#include "BoardTexts.h"
#include "ModalLoop.h"
#include "TextConvert.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace inkra::about {
namespace {

using inkra::win::Utf8ToWide;

constexpr wchar_t kClass[] = L"TfrmAbout";
constexpr int kWidth = 340, kHeight = 170;  // client area
constexpr int kPictureSize = 96;

HINSTANCE Instance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

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

TfrmAbout::TfrmAbout() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(Instance(), kClass, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
  }
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  RECT outer{0, 0, kWidth, kHeight};
  AdjustWindowRectEx(&outer, style, FALSE, WS_EX_DLGMODALFRAME);
  const int w = outer.right - outer.left, h = outer.bottom - outer.top;
  const std::wstring title = L"关于 " + Utf8ToWide(board::kProductName);
  window_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kClass, title.c_str(), style, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                            (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, nullptr, nullptr, Instance(), this);
  if (!window_) throw std::runtime_error("Cannot create the about box");
  font_.reset(CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"新宋体"));
  titleFont_.reset(CreateFontW(-20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"黑体"));
  HWND button = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                kWidth - 96, kHeight - 40, 80, 28, window_,
                                reinterpret_cast<HMENU>(INT_PTR(kCloseButton)), Instance(), nullptr);
  SendMessageW(button, WM_SETFONT, WPARAM(font_.get()), FALSE);
  picture_ = MakePicture();
}

TfrmAbout::~TfrmAbout() {
  if (window_) DestroyWindow(window_);
}

void TfrmAbout::ShowModal() {
  closed_ = false;
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  board::win::RunModalLoop(window_, closed_);
  ShowWindow(window_, SW_HIDE);
}

LRESULT CALLBACK TfrmAbout::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<TfrmAbout*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->window_) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT TfrmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kCloseButton || LOWORD(wParam) == IDCANCEL) PostMessageW(window_, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      closed_ = true;
      ShowWindow(window_, SW_HIDE);
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void TfrmAbout::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  BitBlt(dc, 16, 16, kPictureSize, kPictureSize, picture_->Dc(), 0, 0, SRCCOPY);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = SelectObject(dc, titleFont_.get());
  const std::wstring name = Utf8ToWide(board::kProductName);
  TextOutW(dc, 128, 28, name.c_str(), int(name.size()));
  SelectObject(dc, font_.get());
  const std::wstring version = L"版本 " + Utf8ToWide(board::kProductVersion);
  TextOutW(dc, 128, 62, version.c_str(), int(version.size()));
  SelectObject(dc, old);
  EndPaint(window_, &ps);
}

}  // namespace inkra::about
