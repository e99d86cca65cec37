#include "support/ScreenDpi.h"

#include <cstdlib>

namespace inkra::test {
namespace {

using SetContext = HANDLE(WINAPI*)(HANDLE);

SetContext SetThreadContext() {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<SetContext>(
                      reinterpret_cast<void (*)()>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")))
                : nullptr;
}

}  // namespace

ThreadDpiAwareness::ThreadDpiAwareness(INT_PTR context) {
  if (SetContext set = SetThreadContext()) previous_ = set(reinterpret_cast<HANDLE>(context));
}

ThreadDpiAwareness::~ThreadDpiAwareness() {
  if (previous_) SetThreadContext()(previous_);
}

int RequestedDpi() {
  const char* value = std::getenv("INKRA_TEST_DPI");
  return value ? std::atoi(value) : 0;
}

RECT RectIn(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

LONG FontHeight(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight;
}

}  // namespace inkra::test
