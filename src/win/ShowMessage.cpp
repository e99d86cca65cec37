#include "ShowMessage.h"

namespace inkra::win {

int ShowMessage(HWND owner, const std::wstring& text, const wchar_t* caption, UINT flags) {
  return MessageBoxW(owner, text.c_str(), caption, flags);
}

}  // namespace inkra::win
