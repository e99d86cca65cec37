#pragma once
// The input checks of the two seal dialogs. They only decide which message applies; showing it
// and what happens to the field is the dialogs' business.
#include <string>
#include <string_view>

namespace inkra {

enum class SealTextCheck { Ok, WrongLength, NotChinese };

// The GBK (code page 936) bytes of a text as the platform converter gives them: a character
// without a GBK form becomes "?", one byte, as WideCharToMultiByte's default character does.
std::string GbkBytes(std::string_view utf8);

// Round seal main text, exactly as typed: first the length (4..36 GBK bytes), then the
// lead-byte rule.
SealTextCheck CheckText(std::string_view utf8);

// Square seal name, already trimmed: first the lead-byte rule (an empty name passes it), then
// the length (4..8 GBK bytes).
SealTextCheck CheckName(std::string_view trimmedUtf8);

// The message box texts (UTF-8); empty for Ok.
std::string RoundSealMessage(SealTextCheck check);
std::string SquareSealMessage(SealTextCheck check);

constexpr const char* kSealMessageCaption = "提示";

// The seal code: digits only, at most 13.
constexpr std::size_t kSealCodeDigits = 13;
constexpr const char* kSealCodeMessage = "编码只能是13位以内的数字！";

}  // namespace inkra
