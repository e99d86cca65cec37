#pragma once
// The Chinese-text rule of the seal dialogs, over the GBK (code page 936) bytes of a text.
#include <optional>
#include <string>
#include <string_view>

namespace inkra {

// UTF-8 to GBK bytes; nullopt when a character has no GBK form.
// iconv on Linux, WideCharToMultiByte(936) on Windows: the only place that converts.
std::optional<std::string> ToGbk(std::string_view utf8);

// Every character is a double-byte GBK character with a lead byte of 0xB0 or above.
// Walks the bytes: each byte at a character start is tested and the byte after it skipped.
// Empty text passes; a lead byte with nothing after it (half a character) fails.
bool IsChineseText(std::string_view gbk);

// Leading and trailing blanks and control characters removed (bytes <= 0x20).
std::string TrimBlanks(std::string_view text);

// The i-th character of a UTF-8 text (empty when there is none).
std::string Utf8CharAt(std::string_view utf8, std::size_t index);
std::size_t Utf8Length(std::string_view utf8);

}  // namespace inkra
