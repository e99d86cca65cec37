// UTF-8 to and from the UTF-16 that Windows speaks.
#include <gtest/gtest.h>

#include "TextConvert.h"

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
