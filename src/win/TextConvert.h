#pragma once
// UTF-8 (the portable code's strings) to UTF-16 (the W APIs) and back: the shell's one place.
#include <optional>
#include <string>
#include <string_view>

namespace inkra::win {

// Invalid sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
// nullopt when the text is not valid UTF-8.
std::optional<std::wstring> Utf8ToWideStrict(std::string_view utf8);

}  // namespace inkra::win
