#include <gtest/gtest.h>

#include "RecordingCanvas.h"
#include "ScaledCanvas.h"

using namespace inkra;

namespace {

// One of each drawing call, pen and brush apart, as the seals draw them.
void DrawEachKind(Canvas& canvas) {
  canvas.SetPenColour(clRed);
  canvas.SetBrushColour(clWhite);
  const Point quad[] = {{1, 2}, {3, 4}, {6, 7}, {-4, 5}};
  canvas.Polygon(quad);
  canvas.Ellipse(10, 10, 30, 40);
  canvas.SetPixel(5, 7, clBlue);
  canvas.TextOut(51, 68, "中");
}

}  // namespace

TEST(ScaledCanvas, LengthsRoundAsMulDiv) {
  struct Case { int length, dpi, scaled; };
  for (const Case& c : {Case{1, 144, 2}, Case{3, 144, 5}, Case{-3, 144, -5}, Case{196, 192, 392},
                        Case{201, 144, 302}, Case{7, 96, 7}, Case{0, 120, 0}})
    EXPECT_EQ(ScaleToDpi(c.length, c.dpi), c.scaled) << c.length << " at " << c.dpi;
}

TEST(ScaledCanvas, At96EveryCallPassesUnchanged) {
  RecordingCanvas direct(100, 100), through(100, 100);
  ScaledCanvas scaled(through, 96);
  DrawEachKind(direct);
  DrawEachKind(scaled);
  EXPECT_EQ(through.Ops(), direct.Ops());
  EXPECT_EQ(scaled.Width(), 100);
}

TEST(ScaledCanvas, At192EveryLengthDoubles) {
  RecordingCanvas target(200, 300);
  ScaledCanvas scaled(target, 192);
  DrawEachKind(scaled);
  EXPECT_EQ(scaled.Width(), 100);
  EXPECT_EQ(scaled.Height(), 150);

  ASSERT_EQ(target.Polygons().size(), 1u);
  EXPECT_EQ(target.Polygons()[0].points, (std::vector<Point>{{2, 4}, {6, 8}, {12, 14}, {-8, 10}}));

  // The 1-pixel outline becomes a 2-pixel ring: a red disc, then the white inside 2 pixels in.
  const std::vector<CanvasOp> ellipses = target.Ellipses();
  ASSERT_EQ(ellipses.size(), 2u);
  EXPECT_EQ((std::vector<int>{ellipses[0].x1, ellipses[0].y1, ellipses[0].x2, ellipses[0].y2}),
            (std::vector<int>{20, 20, 60, 80}));
  EXPECT_EQ(ellipses[0].brush, clRed);
  EXPECT_EQ((std::vector<int>{ellipses[1].x1, ellipses[1].y1, ellipses[1].x2, ellipses[1].y2}),
            (std::vector<int>{22, 22, 58, 78}));
  EXPECT_EQ(ellipses[1].pen, clWhite);
  EXPECT_EQ(ellipses[1].brush, clWhite);
  EXPECT_EQ(target.PenColour(), clRed) << "the pen in force afterwards is the caller's";
  EXPECT_EQ(target.BrushColour(), clWhite);

  std::vector<Point> block;
  for (const CanvasOp& pixel : target.Pixels()) block.push_back({pixel.x1, pixel.y1});
  EXPECT_EQ(block, (std::vector<Point>{{10, 14}, {11, 14}, {10, 15}, {11, 15}}));

  ASSERT_EQ(target.Texts().size(), 1u);
  EXPECT_EQ(target.Texts()[0].x1, 102);
  EXPECT_EQ(target.Texts()[0].y1, 136);
  EXPECT_EQ(target.Texts()[0].font.sizePoints, 8) << "points stay; the target sizes them for its dpi";
}
