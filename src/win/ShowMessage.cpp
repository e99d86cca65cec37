#include "ShowMessage.h"

namespace inkra::win {

int ShowMessage(HWND owner, const std::wstring& text, const wchar_t* caption, UINT flags) {
  const HWND focus = GetFocus();
  const int pressed = MessageBoxW(owner, text.c_str(), caption, flags);
  if (focus && IsWindow(focus) && IsWindowVisible(focus) && IsWindowEnabled(focus)) SetFocus(focus);
  return pressed;
}

}  // namespace inkra::win
