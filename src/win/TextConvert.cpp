#include "TextConvert.h"

#include <windows.h>

namespace inkra::win {
namespace {

std::optional<std::wstring> ToWide(std::string_view utf8, DWORD flags) {
  if (utf8.empty()) return std::wstring();
  int length = MultiByteToWideChar(CP_UTF8, flags, utf8.data(), int(utf8.size()), nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(std::size_t(length), L'\0');
  MultiByteToWideChar(CP_UTF8, flags, utf8.data(), int(utf8.size()), wide.data(), length);
  return wide;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(utf8, 0).value_or(std::wstring()); }

std::optional<std::wstring> Utf8ToWideStrict(std::string_view utf8) {
  return ToWide(utf8, MB_ERR_INVALID_CHARS);
}

std::string WideToUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string utf8(std::size_t(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), length, nullptr,
                      nullptr);
  return utf8;
}

}  // namespace inkra::win
