#include "SealText.h"

#include "ChineseText.h"

namespace inkra {

std::string GbkBytes(std::string_view utf8) {
  if (auto whole = ToGbk(utf8)) return *whole;
  // Convert character by character so only the unmappable ones become the default character.
  std::string out;
  std::size_t n = Utf8Length(utf8);
  for (std::size_t i = 0; i < n; ++i) {
    auto one = ToGbk(Utf8CharAt(utf8, i));
    out += one ? *one : std::string("?");
  }
  return out;
}

SealTextCheck CheckText(std::string_view utf8) {
  std::string gbk = GbkBytes(utf8);
  if (gbk.size() < 4 || gbk.size() > 36) return SealTextCheck::WrongLength;
  if (!IsChineseText(gbk)) return SealTextCheck::NotChinese;
  return SealTextCheck::Ok;
}

SealTextCheck CheckName(std::string_view trimmedUtf8) {
  std::string gbk = GbkBytes(trimmedUtf8);
  if (!gbk.empty() && !IsChineseText(gbk)) return SealTextCheck::NotChinese;
  if (gbk.size() < 4 || gbk.size() > 8) return SealTextCheck::WrongLength;
  return SealTextCheck::Ok;
}

std::string RoundSealMessage(SealTextCheck check) {
  switch (check) {
    case SealTextCheck::WrongLength: return "请输入2-18个之内的汉字！";
    case SealTextCheck::NotChinese: return "不是有效的汉字！";
    case SealTextCheck::Ok: break;
  }
  return {};
}

std::string SquareSealMessage(SealTextCheck check) {
  switch (check) {
    case SealTextCheck::WrongLength: return "请输入2-4个之内的汉字！";
    case SealTextCheck::NotChinese: return "不是有效的汉字！";
    case SealTextCheck::Ok: break;
  }
  return {};
}

}  // namespace inkra
