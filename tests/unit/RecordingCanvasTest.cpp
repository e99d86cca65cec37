#include <gtest/gtest.h>

#include "RecordingCanvas.h"

using namespace inkra;

TEST(RecordingCanvas, StartsWithTheToolkitDefaults) {
  RecordingCanvas canvas(196, 150);
  EXPECT_EQ(canvas.Width(), 196);
  EXPECT_EQ(canvas.Height(), 150);
  EXPECT_EQ(canvas.PenColour(), clBlack);
  EXPECT_EQ(canvas.BrushColour(), clWhite);
  EXPECT_EQ(canvas.CurrentFont().face, "MS Sans Serif");
  EXPECT_EQ(canvas.CurrentFont().sizePoints, 8);
  EXPECT_EQ(canvas.CurrentFont().colour, clWindowText);
  EXPECT_TRUE(canvas.Ops().empty());
}

TEST(RecordingCanvas, EachDrawingCallKeepsTheStateInForce) {
  RecordingCanvas canvas(100, 100);
  canvas.SetPenColour(clRed);
  canvas.SetBrushColour(clBlue);
  const Point quad[] = {{1, 2}, {3, 4}, {6, 7}, {4, 5}};
  canvas.Polygon(quad);
  canvas.SetBrushColour(clWhite);
  Font font;
  font.face = "新宋体";
  font.sizePoints = 20;
  font.colour = clRed;
  font.escapement = -2150;
  canvas.SetFont(font);
  canvas.TextOut(51, 168, "中");
  canvas.Ellipse(0, 0, 198, 198);
  canvas.SetPixel(5, 70, clGreen);

  ASSERT_EQ(canvas.Ops().size(), 8u);
  auto polygons = canvas.Polygons();
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].points, (std::vector<Point>{{1, 2}, {3, 4}, {6, 7}, {4, 5}}));
  EXPECT_EQ(polygons[0].pen, clRed);
  EXPECT_EQ(polygons[0].brush, clBlue);

  auto texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "中");
  EXPECT_EQ(texts[0].x1, 51);
  EXPECT_EQ(texts[0].y1, 168);
  EXPECT_EQ(texts[0].brush, clWhite);
  EXPECT_EQ(texts[0].font, font);

  auto ellipses = canvas.Ellipses();
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].x2, 198);
  EXPECT_EQ(ellipses[0].y2, 198);
  EXPECT_EQ(ellipses[0].brush, clWhite);

  auto pixels = canvas.Pixels();
  ASSERT_EQ(pixels.size(), 1u);
  EXPECT_EQ(pixels[0].x1, 5);
  EXPECT_EQ(pixels[0].y1, 70);
  EXPECT_EQ(pixels[0].colour, clGreen);

  auto drawn = canvas.DrawingOps();
  ASSERT_EQ(drawn.size(), 4u);
  EXPECT_EQ(drawn[0].kind, CanvasOp::Kind::Polygon);
  EXPECT_EQ(drawn[1].kind, CanvasOp::Kind::Text);
  EXPECT_EQ(drawn[2].kind, CanvasOp::Kind::Ellipse);
  EXPECT_EQ(drawn[3].kind, CanvasOp::Kind::Pixel);
}

TEST(RecordingCanvas, SettersAreRecordedInOrderAndClearForgetsThem) {
  RecordingCanvas canvas(10, 10);
  canvas.SetBrushColour(clRed);
  canvas.SetPenColour(clRed);
  ASSERT_EQ(canvas.Ops().size(), 2u);
  EXPECT_EQ(canvas.Ops()[0].kind, CanvasOp::Kind::BrushColour);
  EXPECT_EQ(canvas.Ops()[0].colour, clRed);
  EXPECT_EQ(canvas.Ops()[0].pen, clBlack);  // the pen is not set yet
  EXPECT_EQ(canvas.Ops()[1].kind, CanvasOp::Kind::PenColour);
  EXPECT_EQ(canvas.Ops()[1].pen, clRed);
  canvas.Clear();
  EXPECT_TRUE(canvas.Ops().empty());
  EXPECT_EQ(canvas.PenColour(), clRed);  // the state stays; only the record goes
}
