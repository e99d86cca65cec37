// The flat nib's band on the ink layer: the same band as the aliased stroke step, with each
// pixel's coverage the exact area of the band inside it; strokes that start and stop; pressure.
#include <gtest/gtest.h>

#include <cmath>

#include "InkTestSupport.h"

namespace inkra::ink {
namespace {

using namespace testing;

struct Drag {
  const char* name;
  int ax, ay, bx, by, width;
};

class InkBand : public ::testing::TestWithParam<Drag> {};

// A drag with two samples is one straight step; with a third sample halfway the same band is
// drawn in two steps, which must not ink their shared pixels twice.
TEST_P(InkBand, CoverageIsTheBandsAreaInEachPixel) {
  const Drag d = GetParam();
  const auto band = Band(d.ax, d.ay, d.bx, d.by, d.width);
  InkLayer once(64, 64), twice(64, 64), uneven(64, 64);
  DrawStroke(once, {{double(d.ax), double(d.ay)}, {double(d.bx), double(d.by)}}, d.width);
  DrawStroke(twice, {{double(d.ax), double(d.ay)}, {(d.ax + d.bx) / 2.0, (d.ay + d.by) / 2.0}, {double(d.bx), double(d.by)}}, d.width);
  DrawStroke(uneven, {{double(d.ax), double(d.ay)},
                      {d.ax + (d.bx - d.ax) * 0.1, d.ay + (d.by - d.ay) * 0.1},
                      {d.ax + (d.bx - d.ax) * 0.15, d.ay + (d.by - d.ay) * 0.15},
                      {d.ax + (d.bx - d.ax) * 0.8, d.ay + (d.by - d.ay) * 0.8},
                      {double(d.bx), double(d.by)}}, d.width);
  EXPECT_LE(WorstCoverageError(once, band), 2);
  EXPECT_LE(WorstCoverageError(twice, band), 2);
  EXPECT_LE(WorstCoverageError(uneven, band), 2);
}

INSTANTIATE_TEST_SUITE_P(Drags, InkBand, ::testing::Values(
    Drag{"Right", 10, 20, 50, 20, 3}, Drag{"Down", 20, 10, 20, 50, 3}, Drag{"UpRight45Broad", 10, 50, 40, 20, 4},
    Drag{"DownRight45AlongTheNib", 10, 10, 40, 40, 3}, Drag{"Shallow", 8, 30, 52, 19, 7},
    Drag{"Steep", 30, 55, 21, 6, 5}, Drag{"Left", 50, 30, 12, 33, 1}, Drag{"UpLeft", 45, 50, 9, 12, 2},
    Drag{"Short", 30, 30, 31, 32, 6}),
    [](const auto& info) { return std::string(info.param.name); });

// Where the band's edges run straight across pixel rows or columns, the pixels are whole: the
// ones the aliased polygon and its outline paint, and no others.
TEST(InkBandPixels, AxisDragsCoverTheAliasedPixelsWhole) {
  InkLayer layer(40, 20);
  DrawStroke(layer, {{5, 5}, {25, 5}}, 3);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) {
      // Rows 5..8 from x = 5 + (y - 5) to 25 + (y - 5); the slanted ends are half pixels: on the
      // left in the rows below the nib's top edge, on the right in the rows above its bottom edge.
      const int row = y - 5;
      const bool inside = row >= 0 && row <= 3 && x >= 5 + row && x <= 25 + row;
      const bool slantedEnd = (row >= 1 && row <= 3 && x == 4 + row) || (row >= 0 && row <= 2 && x == 26 + row);
      const int c = layer.At(x, y).coverage;
      if (inside) EXPECT_EQ(c, 255) << x << "," << y;
      else if (slantedEnd) EXPECT_NEAR(c, 128, 1) << x << "," << y;
      else EXPECT_EQ(c, 0) << x << "," << y;
    }
}

TEST(InkStrokeEnds, PressAndReleaseWithoutAMoveLeavesNoMark) {
  InkLayer layer(30, 30);
  InkPen pen;
  pen.Down(layer, {10, 10}, 3, {0, 0, 255});
  EXPECT_TRUE(pen.Up().Empty());
  EXPECT_EQ(InkedPixels(layer), 0);
}

TEST(InkStrokeEnds, MovesThatStayAtThePressPointLeaveTheNibAlone) {
  InkLayer layer(30, 30);
  const Rect changed = DrawStroke(layer, {{10, 10}, {10, 10}, {10, 10}}, 3);
  EXPECT_EQ(changed, (Rect{10, 10, 14, 14}));
  EXPECT_LE(WorstCoverageError(layer, Band(10, 10, 10, 10, 3)), 2);
}

TEST(InkStrokeEnds, TheCurveRunsOneSampleBehindUntilTheRelease) {
  InkLayer layer(60, 60);
  InkPen pen;
  pen.Down(layer, {10, 10}, 3, {0, 0, 0});
  EXPECT_TRUE(pen.Move({30, 10}).Empty());    // the first piece needs the sample after it
  const Rect first = pen.Move({30, 40});  // settles 10,10 -> 30,10
  EXPECT_FALSE(first.Empty());
  EXPECT_LE(first.right, 35);
  EXPECT_EQ(layer.At(20, 11).coverage, 255);
  EXPECT_EQ(layer.At(31, 38).coverage, 0);
  const Rect last = pen.Up();
  EXPECT_GE(last.bottom, 44);
  EXPECT_EQ(layer.At(31, 38).coverage, 255);
  EXPECT_FALSE(layer.Wet());
}

TEST(InkStrokeInput, SamplesWithNoPositionAreSkippedAndExtremesBounded) {
  InkLayer layer(30, 30);
  InkPen pen;
  pen.Down(layer, {std::nan(""), 3}, 3, {0, 0, 0});
  EXPECT_FALSE(pen.Drawing());
  pen.Down(layer, {5, 5, std::nanf("")}, 1e300, {0, 0, 0});
  EXPECT_TRUE(pen.Move({std::nan(""), 9}).Empty());
  pen.Move({1e300, 5});
  pen.Move({5, -1e300});
  EXPECT_FALSE(pen.Up().Empty());
  EXPECT_EQ(layer.At(29, 29).coverage, 255);  // the widest nib covers the layer
}

TEST(InkStrokeInput, AScribbleOverOneSpotStaysTheBandsUnion) {
  // Hundreds of steps round a small circle: the ring is whole, and its edge no lighter than one
  // pass leaves it.
  InkLayer scribble(40, 40), once(40, 40);
  std::vector<InkSample> round;
  for (int i = 0; i <= 600; ++i) round.push_back({18 + 6 * std::cos(i * 0.7), 18 + 6 * std::sin(i * 0.7)});
  DrawStroke(scribble, round, 2);
  DrawStroke(once, std::vector<InkSample>(round.begin(), round.begin() + 10), 2);
  EXPECT_EQ(scribble.At(25, 19).coverage, 255);
  EXPECT_EQ(scribble.At(19, 19).coverage, 0);  // the hole in the ring
  EXPECT_EQ(scribble.At(2, 2).coverage, 0);
  EXPECT_LE(scribble.At(19, 11).coverage, 255);
  EXPECT_GE(scribble.At(19, 11).coverage, once.At(19, 11).coverage);
}

// The ink in a column of a horizontal stroke is the nib's vertical reach, w + 1 pixels.
struct Press {
  const char* name;
  float pressure;
  double expectedWidth;  // of a chosen width of 4: 4 x (0.4 + 1.2 p)
};

class InkPressure : public ::testing::TestWithParam<Press> {};

TEST_P(InkPressure, NibWidthFollowsTheDocumentedCurve) {
  const Press p = GetParam();
  EXPECT_DOUBLE_EQ(NibWidthFor(4, p.pressure), p.expectedWidth);
  InkLayer layer(80, 30);
  DrawStroke(layer, {{5, 5, p.pressure}, {40, 5, p.pressure}, {70, 5, p.pressure}}, 4);
  EXPECT_NEAR(ColumnInk(layer, 35), p.expectedWidth + 1, 0.02);
}

INSTANTIATE_TEST_SUITE_P(Pressures, InkPressure, ::testing::Values(
    Press{"Mouse", kNoPressure, 4}, Press{"Lightest", 0, 1.6}, Press{"Light", 0.25, 2.8},
    Press{"Medium", 0.5, 4}, Press{"Full", 1, 6.4}, Press{"BeyondFullIsFull", 1.5, 6.4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InkPressureAlongAStroke, TheBandWidensAsThePenPressesHarder) {
  InkLayer layer(140, 30);
  std::vector<InkSample> samples;
  for (int i = 0; i <= 10; ++i) samples.push_back({5.0 + 12 * i, 5, float(i) / 10});
  DrawStroke(layer, samples, 4);
  double previous = 0;
  for (int i = 1; i <= 9; ++i) {
    // Column of sample i, past the nib's slanted corner: the reach at that sample's pressure.
    const double ink = ColumnInk(layer, 5 + 12 * i + 8);
    EXPECT_GT(ink, previous) << i;
    EXPECT_NEAR(ink, NibWidthFor(4, float(i) / 10) + 1, 0.6) << i;
    previous = ink;
  }
}

}  // namespace
}  // namespace inkra::ink
