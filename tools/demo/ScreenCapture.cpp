#include "ScreenCapture.h"

#include <cstring>

#include "Bitmap.h"
#include "Bmp.h"
#include "ByteSink.h"

namespace inkra::demo {

bool CaptureWindow(HWND window, const std::wstring& bmpPath) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  // Read from the screen: it holds what was really painted, child windows included.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = dib != nullptr;
  if (ok) {
    HGDIOBJ old = SelectObject(memory, dib);
    ok = BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    SelectObject(memory, old);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!ok) {
    if (dib) DeleteObject(dib);
    return false;
  }
  Bitmap picture(w, h, 24);
  const size_t stride = size_t((w * 3 + 3) & ~3);
  for (int y = 0; y < h; ++y) std::memcpy(picture.Row(y), static_cast<const std::uint8_t*>(bits) + stride * size_t(y), size_t(w) * 3);
  DeleteObject(dib);
  try {
    FileSink file(bmpPath);
    WriteBmp(picture, file);
    file.Close();
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

}  // namespace inkra::demo
