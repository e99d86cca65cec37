#include <gtest/gtest.h>

#include <array>
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

TEST(SquareSealCells, RightColumnFirstCompletedWithZhiAndYin) {
  const struct {
    const char* name;
    std::array<const char*, 4> texts;  // top right, bottom right, top left, bottom left
  } cases[] = {{"张三", {"张", "三", "之", "印"}},         {"欧阳修", {"欧", "阳", "修", "印"}},
               {"司马相如", {"司", "马", "相", "如"}},     {"一二三四五", {"一", "二", "三", "四"}},
               {"王", {"王", "", "之", "印"}},             {"", {"", "", "之", "印"}}};
  for (const auto& c : cases) {
    const auto cells = SquareSealCells(c.name);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(cells[k].text, c.texts[k]) << c.name << " cell " << k;
  }
  const auto cells = SquareSealCells("张三");
  EXPECT_EQ((std::array{cells[0].at, cells[1].at, cells[2].at, cells[3].at}),
            (std::array{Point{77, 12}, Point{77, 77}, Point{12, 12}, Point{12, 77}}));
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
