#include <gtest/gtest.h>

#include "SealText.h"

using namespace inkra;

TEST(RoundSealCheckText, LengthComesFirst) {
  EXPECT_EQ(CheckText("印"), SealTextCheck::WrongLength);                       // 2 bytes
  EXPECT_EQ(CheckText("一二三四五六七八九十甲乙丙丁戊己庚辛壬"), SealTextCheck::WrongLength);  // 38
  EXPECT_EQ(CheckText("abc"), SealTextCheck::WrongLength);  // short ASCII: length message
  EXPECT_EQ(CheckText(""), SealTextCheck::WrongLength);
  EXPECT_EQ(CheckText("一二三四五六七八九十甲乙丙丁戊己庚辛"), SealTextCheck::Ok);  // 36
  EXPECT_EQ(CheckText("印章"), SealTextCheck::Ok);
}

TEST(RoundSealCheckText, LeadBytesBelowB0AreRefused) {
  EXPECT_EQ(CheckText("ab公章"), SealTextCheck::NotChinese);  // 6 bytes
  EXPECT_EQ(CheckText(" 公章"), SealTextCheck::NotChinese);   // leading space, 5 bytes
  EXPECT_EQ(CheckText("公章 "), SealTextCheck::NotChinese);   // not trimmed
  EXPECT_EQ(CheckText("公章！"), SealTextCheck::NotChinese);  // full-width punctuation, A3
  EXPECT_EQ(CheckText("公章★"), SealTextCheck::NotChinese);   // symbol, A1
}

TEST(SealMessages, TextsOfBothDialogs) {
  EXPECT_EQ(RoundSealMessage(SealTextCheck::WrongLength), "请输入2-18个之内的汉字！");
  EXPECT_EQ(RoundSealMessage(SealTextCheck::NotChinese), "不是有效的汉字！");
  EXPECT_EQ(RoundSealMessage(SealTextCheck::Ok), "");
  EXPECT_EQ(SquareSealMessage(SealTextCheck::WrongLength), "请输入2-4个之内的汉字！");
  EXPECT_EQ(SquareSealMessage(SealTextCheck::NotChinese), "不是有效的汉字！");
}

TEST(SealGbk, UnmappableCharactersCountAsOneByte) {
  EXPECT_EQ(GbkBytes("印章").size(), 4u);
  EXPECT_EQ(GbkBytes("a印").size(), 3u);
  EXPECT_EQ(GbkBytes("한印"), std::string("?") + GbkBytes("印"));
  EXPECT_EQ(CheckText("한한한"), SealTextCheck::WrongLength);  // three bytes
  EXPECT_EQ(CheckText("印한章한"), SealTextCheck::NotChinese);
}
