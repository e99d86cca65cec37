// The same cases as the native ChineseText tests: the two converters must give the same bytes.
#include <gtest/gtest.h>

#include "ChineseText.h"
#include "TextConvert.h"

using namespace inkra;

TEST(WinToGbk, ConvertsToCodePage936Bytes) {
  EXPECT_EQ(ToGbk("中文"), std::string("\xD6\xD0\xCE\xC4"));
  EXPECT_EQ(ToGbk("abc 1"), std::string("abc 1"));
  EXPECT_EQ(ToGbk(""), std::string());
  EXPECT_EQ(ToGbk("丂"), std::string("\x81\x40"));
  EXPECT_EQ(ToGbk("疈"), std::string("\xAF\x40"));
  EXPECT_EQ(ToGbk("癅"), std::string("\xB0\x40"));
  EXPECT_EQ(ToGbk("啊"), std::string("\xB0\xA1"));
  EXPECT_EQ(ToGbk("齄"), std::string("\xF7\xFE"));
  EXPECT_EQ(ToGbk("﨩"), std::string("\xFE\x4F"));
  EXPECT_EQ(ToGbk("，"), std::string("\xA3\xAC"));
  EXPECT_EQ(ToGbk("　"), std::string("\xA1\xA1"));
  EXPECT_EQ(ToGbk("★之印"), std::string("\xA1\xEF\xD6\xAE\xD3\xA1"));
  EXPECT_EQ(ToGbk("€"), std::string("\x80"));
}

TEST(WinToGbk, FailsForCharactersWithoutAGbkForm) {
  EXPECT_EQ(ToGbk("한"), std::nullopt);
  EXPECT_EQ(ToGbk("中😀"), std::nullopt);
  EXPECT_EQ(ToGbk("\xE4\xB8"), std::nullopt);
  EXPECT_EQ(ToGbk("a\xFF"), std::nullopt);
}

TEST(WinToGbk, NoBestFitStandIns) {
  // Code page 936 would approximate these (a with grave accent is in it, these are not).
  EXPECT_EQ(ToGbk("ĉ"), std::nullopt);
  EXPECT_EQ(ToGbk("ſ"), std::nullopt);
}

TEST(WinIsChineseText, AgreesWithTheRuleOnConvertedText) {
  auto check = [](const char* utf8) { return IsChineseText(ToGbk(utf8).value()); };
  EXPECT_TRUE(check("中文"));
  EXPECT_TRUE(check("专用章"));
  EXPECT_TRUE(check("癅﨩"));
  EXPECT_FALSE(check("ab中文"));
  EXPECT_FALSE(check(" 中文"));
  EXPECT_FALSE(check("中，文"));
  EXPECT_FALSE(check("丂中"));
  EXPECT_FALSE(check("中疈"));
  EXPECT_EQ(ToGbk("中华人民共和国")->size(), 14u);
}

TEST(TextConvert, RoundTripsThroughUtf16) {
  using namespace inkra::win;
  EXPECT_EQ(Utf8ToWide("中文 ab"), std::wstring(L"\x4E2D\x6587 ab"));
  EXPECT_EQ(Utf8ToWide("😀"), std::wstring(L"\xD83D\xDE00"));
  EXPECT_EQ(WideToUtf8(L"\x4E2D\x6587 ab"), "中文 ab");
  EXPECT_EQ(WideToUtf8(Utf8ToWide("手写签名$$$")), "手写签名$$$");
  EXPECT_EQ(Utf8ToWide(""), std::wstring());
  EXPECT_EQ(WideToUtf8(L""), "");
}

TEST(TextConvert, StrictConversionRefusesBrokenUtf8) {
  using namespace inkra::win;
  EXPECT_EQ(Utf8ToWideStrict("\xE4\xB8"), std::nullopt);
  EXPECT_EQ(Utf8ToWideStrict("中"), std::wstring(L"\x4E2D"));
  EXPECT_EQ(Utf8ToWide("a\xFF"), std::wstring(L"a\xFFFD"));  // the lenient one substitutes
}
