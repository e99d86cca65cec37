// GBK conversion for the Windows build: code page 936 through WideCharToMultiByte, refusing
// any character that the code page can only approximate.
#include <windows.h>

#include "ChineseText.h"
#include "TextConvert.h"

namespace inkra {

std::optional<std::string> ToGbk(std::string_view utf8) {
  std::optional<std::wstring> wide = win::Utf8ToWideStrict(utf8);
  if (!wide) return std::nullopt;
  if (wide->empty()) return std::string();
  constexpr UINT kGbk = 936;
  BOOL usedDefault = FALSE;
  int length = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide->data(), int(wide->size()),
                                   nullptr, 0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string gbk(std::size_t(length), '\0');
  WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide->data(), int(wide->size()), gbk.data(),
                      length, nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return gbk;
}

}  // namespace inkra
