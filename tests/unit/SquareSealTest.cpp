#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "RecordingCanvas.h"
#include "SealText.h"
#include "SquareSeal.h"

using namespace inkra;

namespace {

std::vector<CanvasOp> DrawTexts(const std::string& name) {
  RecordingCanvas canvas(150, 150);
  SquareSealParams p;
  p.name = name;
  DrawSquareSeal(canvas, p);
  return canvas.Texts();
}

}  // namespace

TEST(SquareSealCells, TwoCharactersAreCompletedWithZhiAndYin) {
  auto cells = SquareSealCells("张三");
  EXPECT_EQ(cells[0].at, (Point{77, 12}));
  EXPECT_EQ(cells[0].text, "张");
  EXPECT_EQ(cells[1].at, (Point{77, 77}));
  EXPECT_EQ(cells[1].text, "三");
  EXPECT_EQ(cells[2].at, (Point{12, 12}));
  EXPECT_EQ(cells[2].text, "之");
  EXPECT_EQ(cells[3].at, (Point{12, 77}));
  EXPECT_EQ(cells[3].text, "印");
}

TEST(SquareSealCells, ThreeFourAndFiveCharacters) {
  auto three = SquareSealCells("欧阳修");
  EXPECT_EQ(three[2].text, "修");
  EXPECT_EQ(three[3].text, "印");
  auto four = SquareSealCells("司马相如");
  EXPECT_EQ(four[2].text, "相");
  EXPECT_EQ(four[3].text, "如");
  auto five = SquareSealCells("一二三四五");
  EXPECT_EQ(five[3].text, "四");
}

TEST(SquareSealCells, ShortNamesLeaveTheRightColumnEmpty) {
  auto one = SquareSealCells("王");
  EXPECT_EQ(one[0].text, "王");
  EXPECT_EQ(one[1].text, "");
  auto none = SquareSealCells("");
  EXPECT_EQ(none[0].text, "");
  EXPECT_EQ(none[2].text, "之");
  EXPECT_EQ(none[3].text, "印");
}

TEST(SquareSealDraw, TextsAreBold48InTheFaceAndColourOnWhite) {
  RecordingCanvas canvas(150, 150);
  SquareSealParams p;
  p.name = "  张三 ";
  p.face = "楷体";
  p.colour = clNavy;
  DrawSquareSeal(canvas, p);
  auto texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 4u);
  const char* expected[] = {"张", "三", "之", "印"};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(texts[k].text, expected[k]);
    EXPECT_EQ(texts[k].font.face, "楷体");
    EXPECT_EQ(texts[k].font.sizePoints, 48);
    EXPECT_TRUE(texts[k].font.bold);
    EXPECT_EQ(texts[k].font.escapement, 0);
    EXPECT_EQ(texts[k].font.colour, clNavy);
    EXPECT_EQ(texts[k].brush, clWhite);
  }
}

TEST(SquareSealDraw, FifthCharacterIsNotDrawnAndEmptyCellsAreSkipped) {
  auto five = DrawTexts("一二三四五");
  ASSERT_EQ(five.size(), 4u);
  for (const CanvasOp& t : five) EXPECT_NE(t.text, "五");
  auto one = DrawTexts("王");
  ASSERT_EQ(one.size(), 3u);
  EXPECT_EQ(one[0].text, "王");
  EXPECT_EQ(one[1].text, "之");
}

TEST(SquareSealDraw, FrameBandsAreSixPixelsLeftAndTopFiveRightAndBottom) {
  RecordingCanvas canvas(150, 150);
  DrawSquareFrame(canvas, clPurple);
  std::set<std::pair<int, int>> coloured;
  for (const CanvasOp& op : canvas.Pixels()) {
    EXPECT_EQ(op.colour, clPurple);
    coloured.insert({op.x1, op.y1});
  }
  for (int y = 0; y < 150; ++y) {
    for (int x = 0; x < 150; ++x) {
      bool inFrame = x <= 5 || x >= 145 || y <= 5 || y >= 145;
      ASSERT_EQ(coloured.count({x, y}) == 1, inFrame) << x << "," << y;
    }
  }
}

TEST(SquareSealCheckName, LeadByteRuleComesFirst) {
  EXPECT_EQ(CheckName("ab"), SealTextCheck::NotChinese);
  EXPECT_EQ(CheckName("a"), SealTextCheck::NotChinese);
  EXPECT_EQ(CheckName("张三abcdef"), SealTextCheck::NotChinese);
  EXPECT_EQ(CheckName(""), SealTextCheck::WrongLength);  // empty passes the lead-byte test
  EXPECT_EQ(CheckName("张"), SealTextCheck::WrongLength);
  EXPECT_EQ(CheckName("一二三四五"), SealTextCheck::WrongLength);
  EXPECT_EQ(CheckName("张三"), SealTextCheck::Ok);
  EXPECT_EQ(CheckName("司马相如"), SealTextCheck::Ok);
}
