// Built natively (iconv) and into the Windows tests (code page 936): both converters must give
// the same bytes.
#include <gtest/gtest.h>

#include "ChineseText.h"

using namespace inkra;

// Expected GBK bytes were taken from the code page 936 table by hand, not from ToGbk.
TEST(ToGbk, ConvertsToCodePage936Bytes) {
  EXPECT_EQ(ToGbk("中文"), std::string("\xD6\xD0\xCE\xC4"));
  EXPECT_EQ(ToGbk("abc 1"), std::string("abc 1"));
  EXPECT_EQ(ToGbk(""), std::string());
  EXPECT_EQ(ToGbk("丂"), std::string("\x81\x40"));    // lead 0x81, GBK extension
  EXPECT_EQ(ToGbk("疈"), std::string("\xAF\x40"));    // lead 0xAF
  EXPECT_EQ(ToGbk("癅"), std::string("\xB0\x40"));    // lead 0xB0, GBK extension
  EXPECT_EQ(ToGbk("啊"), std::string("\xB0\xA1"));    // first GB2312 character
  EXPECT_EQ(ToGbk("齄"), std::string("\xF7\xFE"));    // last GB2312 character
  EXPECT_EQ(ToGbk("﨩"), std::string("\xFE\x4F"));
  EXPECT_EQ(ToGbk("，"), std::string("\xA3\xAC"));
  EXPECT_EQ(ToGbk("　"), std::string("\xA1\xA1"));
  EXPECT_EQ(ToGbk("★之印"), std::string("\xA1\xEF\xD6\xAE\xD3\xA1"));
  EXPECT_EQ(ToGbk("€"), std::string("\x80"));         // code page 936 has the euro at 0x80
}

TEST(ToGbk, FailsForCharactersWithoutAGbkForm) {
  EXPECT_EQ(ToGbk("한"), std::nullopt);
  EXPECT_EQ(ToGbk("中😀"), std::nullopt);
  EXPECT_EQ(ToGbk("\xE4\xB8"), std::nullopt);  // truncated UTF-8
  EXPECT_EQ(ToGbk("a\xFF"), std::nullopt);     // not UTF-8 at all
}

TEST(ToGbk, NoBestFitStandIns) {
  // Code page 936 would approximate these (a with grave accent is in it, these are not).
  EXPECT_EQ(ToGbk("ĉ"), std::nullopt);
  EXPECT_EQ(ToGbk("ſ"), std::nullopt);
}

TEST(IsChineseText, AcceptsDoubleByteCharactersWithLeadFromB0) {
  EXPECT_TRUE(IsChineseText("\xD6\xD0\xCE\xC4"));        // 中文
  EXPECT_TRUE(IsChineseText("\xB0\xA1\xF7\xFE"));        // 啊齄
  EXPECT_TRUE(IsChineseText("\xB0\x40\xFE\x4F"));        // extension characters from lead 0xB0
  EXPECT_TRUE(IsChineseText(""));
}

TEST(IsChineseText, TestsOnlyTheLeadBytes) {
  // The second byte is never looked at, whatever it is.
  EXPECT_TRUE(IsChineseText(std::string("\xB0\x20\xC0\x00", 4)));
}

TEST(IsChineseText, RefusesEverythingElse) {
  EXPECT_FALSE(IsChineseText("ab"));
  EXPECT_FALSE(IsChineseText("ab\xD6\xD0\xCE\xC4"));
  EXPECT_FALSE(IsChineseText(" \xD6\xD0\xCE\xC4"));      // leading space
  EXPECT_FALSE(IsChineseText("\xD6\xD0\xCE\xC4 "));      // trailing space, a lone lead-less byte
  EXPECT_FALSE(IsChineseText("\xD6\xD0\xA3\xAC"));       // full-width comma
  EXPECT_FALSE(IsChineseText("\xA1\xA1\xD6\xD0"));       // ideographic space
  EXPECT_FALSE(IsChineseText("\xA9\xA4\xD6\xD0"));       // box drawing, lead 0xA9
  EXPECT_FALSE(IsChineseText("\x81\x40\xD6\xD0"));       // 丂, lead 0x81
  EXPECT_FALSE(IsChineseText("\xD6\xD0\xAF\x40"));       // 疈, lead 0xAF
  EXPECT_FALSE(IsChineseText("\xD6\xD0\x80"));           // euro
  EXPECT_FALSE(IsChineseText("\xD6\xD0\xCE"));           // half a character at the end
}

TEST(IsChineseText, WorksOnConvertedText) {
  auto check = [](const char* utf8) { return IsChineseText(ToGbk(utf8).value()); };
  EXPECT_TRUE(check("中文"));
  EXPECT_TRUE(check("专用章"));
  EXPECT_TRUE(check("癅﨩"));
  EXPECT_FALSE(check("ab中文"));
  EXPECT_FALSE(check(" 中文"));
  EXPECT_FALSE(check("中，文"));
  EXPECT_FALSE(check("丂中"));
  EXPECT_FALSE(check("中疈"));
  EXPECT_EQ(ToGbk("中华人民共和国")->size(), 14u);  // lengths are GBK bytes
}

TEST(TrimBlanks, RemovesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(TrimBlanks("  中文\t\r\n"), "中文");
  EXPECT_EQ(TrimBlanks(std::string("\x01\x1F 0123 45\x20", 11)), "0123 45");
  EXPECT_EQ(TrimBlanks("中 文"), "中 文");
  EXPECT_EQ(TrimBlanks(" \t "), "");
  EXPECT_EQ(TrimBlanks(""), "");
  EXPECT_EQ(TrimBlanks("a"), "a");
  EXPECT_EQ(TrimBlanks("　中　"), "　中　");  // the ideographic space is not a blank here
}

TEST(Utf8, LengthCountsCharacters) {
  EXPECT_EQ(Utf8Length(""), 0u);
  EXPECT_EQ(Utf8Length("abc"), 3u);
  EXPECT_EQ(Utf8Length("中文"), 2u);
  EXPECT_EQ(Utf8Length("a中😀b"), 4u);
}

TEST(Utf8, CharAtGivesWholeCharacters) {
  EXPECT_EQ(Utf8CharAt("张三丰", 0), "张");
  EXPECT_EQ(Utf8CharAt("张三丰", 2), "丰");
  EXPECT_EQ(Utf8CharAt("张三丰", 3), "");
  EXPECT_EQ(Utf8CharAt("张三丰", 100), "");
  EXPECT_EQ(Utf8CharAt("a中😀b", 2), "😀");
  EXPECT_EQ(Utf8CharAt("a中😀b", 3), "b");
  EXPECT_EQ(Utf8CharAt("", 0), "");
}
