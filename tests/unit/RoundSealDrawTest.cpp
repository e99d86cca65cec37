#include <gtest/gtest.h>

#include "RecordingCanvas.h"
#include "RoundSeal.h"

using namespace inkra;
using Kind = CanvasOp::Kind;

namespace {

RecordingCanvas Draw(const RoundSealParams& p) {
  RecordingCanvas canvas(p.width - 4, p.height - 4);
  DrawRoundSeal(canvas, p);
  return canvas;
}

std::array<int, 4> Bounds(const CanvasOp& op) { return {op.x1, op.y1, op.x2, op.y2}; }

}  // namespace

TEST(RoundSealDraw, RingIsADiscAndTwoWhiteEllipses) {
  RoundSealParams p;
  p.colour = clBlue;
  RecordingCanvas canvas = Draw(p);
  auto ellipses = canvas.Ellipses();
  ASSERT_EQ(ellipses.size(), 3u);
  EXPECT_EQ(Bounds(ellipses[0]), (std::array{0, 0, 198, 198}));
  EXPECT_EQ(ellipses[0].pen, clBlue);
  EXPECT_EQ(ellipses[0].brush, clBlue);
  EXPECT_EQ(Bounds(ellipses[1]), (std::array{5, 5, 193, 193}));
  EXPECT_EQ(ellipses[1].brush, clWhite);
  EXPECT_EQ(Bounds(ellipses[2]), (std::array{7, 7, 191, 191}));
  EXPECT_EQ(ellipses[2].brush, clWhite);
  EXPECT_EQ(ellipses[2].pen, clBlue);
}

TEST(RoundSealDraw, RingFollowsWidthNotHeight) {
  RoundSealParams p;
  p.width = 121;
  p.height = 300;
  p.ringWidth = 0;
  auto ellipses = Draw(p).Ellipses();
  ASSERT_EQ(ellipses.size(), 3u);
  EXPECT_EQ(ellipses[0].x2, 118);
  EXPECT_EQ(ellipses[0].y2, 118);
  EXPECT_EQ(ellipses[1].x1, 0);
  EXPECT_EQ(ellipses[1].x2, 118);
  EXPECT_EQ(ellipses[2].x1, 2);
  EXPECT_EQ(ellipses[2].y2, 116);
}

TEST(RoundSealDraw, StarIsBoldInItsCellAndWhiteBacked) {
  RoundSealParams p;
  p.starX = 33;
  p.starY = 44;
  p.starSize = 25;
  auto texts = Draw(p).Texts();
  ASSERT_FALSE(texts.empty());
  const CanvasOp& star = texts.front();
  EXPECT_EQ(star.text, "★");
  EXPECT_EQ(star.x1, 33);
  EXPECT_EQ(star.y1, 44);
  EXPECT_EQ(star.font.sizePoints, 25);
  EXPECT_TRUE(star.font.bold);
  EXPECT_EQ(star.font.colour, clRed);
  EXPECT_EQ(star.font.face, "新宋体");
  EXPECT_EQ(star.font.escapement, 0);
  EXPECT_EQ(star.brush, clWhite);
}

TEST(RoundSealDraw, EachCharacterIsFollowedByBothSubTexts) {
  RoundSealParams p;
  p.text = "一二三四五六七八九";
  p.upperText = "  12 34\t";
  p.colour = clGreen;
  auto texts = Draw(p).Texts();
  ASSERT_EQ(texts.size(), 1u + 9u * 3u);
  const char* expectedChars[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
  const Point anchors[] = {{51, 168}, {21, 129}, {17, 81}, {41, 38}, {84, 16},
                           {133, 22}, {170, 54}, {183, 101}, {168, 147}};
  const int turns[] = {215, 249, 282, 316, 350, 24, 58, 91, 125};
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    const CanvasOp& ch = texts[1 + 3 * i];
    EXPECT_EQ(ch.text, expectedChars[i]);
    EXPECT_EQ((Point{ch.x1, ch.y1}), anchors[i]);
    EXPECT_EQ(ch.font.escapement, -10 * turns[i]);
    EXPECT_FALSE(ch.font.bold);
    EXPECT_EQ(ch.font.face, "新宋体");
    EXPECT_EQ(ch.font.sizePoints, 20);
    EXPECT_EQ(ch.font.colour, clGreen);
    EXPECT_EQ(ch.brush, clWhite);

    const CanvasOp& upper = texts[2 + 3 * i];
    EXPECT_EQ(upper.text, "12 34");  // trimmed of blanks and control characters
    EXPECT_EQ((Point{upper.x1, upper.y1}), (Point{70, 140}));
    EXPECT_TRUE(upper.font.bold);
    EXPECT_EQ(upper.font.sizePoints, 12);
    EXPECT_EQ(upper.font.escapement, 0);

    const CanvasOp& lower = texts[3 + 3 * i];
    EXPECT_EQ(lower.text, "专用章");
    EXPECT_EQ((Point{lower.x1, lower.y1}), (Point{70, 160}));
    EXPECT_TRUE(lower.font.bold);
    EXPECT_EQ(lower.font.colour, clGreen);
  }
}

TEST(RoundSealDraw, SubTextsUseTheirOwnFacesAndSizes) {
  RoundSealParams p;
  p.text = "甲乙";
  p.upperFace = "楷体";
  p.upperSize = 15;
  p.lowerFace = "隶书";
  p.lowerSize = 9;
  p.lowerX = 3;
  p.lowerY = 4;
  auto texts = Draw(p).Texts();
  ASSERT_EQ(texts.size(), 7u);
  EXPECT_EQ(texts[2].font.face, "楷体");
  EXPECT_EQ(texts[2].font.sizePoints, 15);
  EXPECT_EQ(texts[3].font.face, "隶书");
  EXPECT_EQ(texts[3].font.sizePoints, 9);
  EXPECT_EQ(texts[3].x1, 3);
  EXPECT_EQ(texts[3].y1, 4);
}

TEST(RoundSealDraw, EmptySubTextsAreAbsent) {
  RoundSealParams p;
  p.text = "甲乙丙";
  p.upperText = " \t ";
  p.lowerText = "";
  auto texts = Draw(p).Texts();
  ASSERT_EQ(texts.size(), 4u);  // the star and three characters
  EXPECT_EQ(texts[1].text, "甲");
  EXPECT_EQ(texts[3].text, "丙");
}

TEST(RoundSealDraw, EighteenCharactersAllDrawn) {
  RoundSealParams p;
  p.text = "一二三四五六七八九十甲乙丙丁戊己庚辛";
  p.upperText.clear();
  p.lowerText.clear();
  auto texts = Draw(p).Texts();
  ASSERT_EQ(texts.size(), 19u);
  EXPECT_EQ(texts[18].text, "辛");
  EXPECT_EQ((Point{texts[1].x1, texts[1].y1}), (Point{51, 168}));
  EXPECT_EQ((Point{texts[18].x1, texts[18].y1}), (Point{168, 147}));
}
