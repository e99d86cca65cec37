// Runs of the nib: the polygon a step along a run is drawn as must be the same shape as the
// union of the nib's bands along it, and a stroke, drawn partly as runs and partly joined, must
// come out as the union of all its bands.
#include <gtest/gtest.h>

#include <cmath>

#include "CentreLine.h"
#include "InkTestSupport.h"
#include "NibRun.h"

namespace inkra::ink {
namespace {

using namespace testing;

// The exact union of the bands along `points`, painted onto a new layer.
InkLayer UnionOfBands(const std::vector<NibPoint>& points, int size) {
  Outline bands, joined;
  SweepBands(points, bands);
  ClipperLib::Clipper clipper;
  clipper.AddPaths(bands, ClipperLib::ptSubject, true);
  clipper.Execute(ClipperLib::ctUnion, joined, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  InkLayer layer(size, size);
  layer.Fill(joined, {0, 0, 0});
  return layer;
}

int WorstDifference(const InkLayer& a, const InkLayer& b) {
  int worst = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) worst = std::max(worst, std::abs(a.At(x, y).coverage - b.At(x, y).coverage));
  return worst;
}

struct Path {
  const char* name;
  double x, y, width;
  std::vector<std::array<double, 2>> moves;  // each point from the one before
};

class NibRunOutline : public ::testing::TestWithParam<Path> {};

TEST_P(NibRunOutline, IsTheUnionOfItsBands) {
  const Path& p = GetParam();
  std::vector<NibPoint> points{{p.x, p.y, p.width}};
  for (const auto& m : p.moves) points.push_back({points.back().x + m[0], points.back().y + m[1], p.width});
  NibRun run;
  ASSERT_TRUE(run.Extend(points));
  InkLayer drawn(48, 48);
  drawn.Fill(run.Near(drawn.Bounds()), {0, 0, 0});
  EXPECT_GT(TotalInk(drawn), 1.0);
  EXPECT_LE(WorstDifference(drawn, UnionOfBands(points, 48)), 1);
}

// One run in each of the nib's six directions of travel, along its edges exactly (a mouse's
// level, upright and diagonal moves), wobbling on whole pixels, in steps far shorter than the
// nib, and with a nib of no reach.
INSTANTIATE_TEST_SUITE_P(Runs, NibRunOutline, ::testing::Values(
    Path{"RightAndDown", 6, 6, 3, {{3, 1}, {2.5, 1.2}, {2, 1.4}, {3, 2}}},
    Path{"DownAndRight", 6, 6, 4, {{1, 3}, {1.5, 2.5}, {1.9, 2}, {0.5, 4}}},
    Path{"DownAndLeft", 30, 6, 3, {{-1, 4}, {-2, 3}, {-3, 3.5}, {-6, 1}}},
    Path{"LeftAndUp", 40, 30, 5, {{-4, -1}, {-3, -2.5}, {-5, -4}}},
    Path{"UpAndLeft", 30, 40, 2, {{-1, -4}, {-2.5, -3}, {-0.5, -5}}},
    Path{"UpAndRight", 6, 40, 6, {{1, -4}, {4, -3}, {2, -1}, {5, -1}}},
    Path{"AlongTheEdges", 6, 20, 3, {{4, 0}, {3, 1}, {3, 3}, {2, 2}, {5, 1}, {4, 0}}},
    Path{"WholePixelWobble", 4, 10, 4, {{2, 1}, {3, 0}, {2, 2}, {3, 1}, {1, 1}, {3, 0}, {2, 1}}},
    Path{"TinySteps", 20, 20, 5, {{0.01, 0.003}, {0.2, 0.1}, {0.05, 0.02}, {0.5, 0.1}}},
    Path{"NoReach", 8, 8, 0, {{3, 1}, {3, 2}, {2, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NibRunSteps, APieceBelongsToTheRunOnlyWhereTheLeadingCornersStay) {
  NibRun run;
  EXPECT_FALSE(run.Extend(std::vector<NibPoint>{{5, 5, 3}}));  // a point is no run
  EXPECT_TRUE(run.Extend(std::vector<NibPoint>{{5, 5, 3}, {9, 6, 3}, {13, 8, 3}}));
  const auto first = run.Id();
  EXPECT_TRUE(run.Extend(std::vector<NibPoint>{{13, 8, 3}, {17, 9, 3}}));  // on along the same run
  EXPECT_EQ(run.Id(), first);
  EXPECT_TRUE(run.Extend(std::vector<NibPoint>{{17, 9, 3}, {18, 14, 3}}));  // turned past 45 degrees: a new run
  EXPECT_NE(run.Id(), first);
  EXPECT_FALSE(run.Extend(std::vector<NibPoint>{{18, 14, 3}, {19, 19, 3}, {24, 20, 3}}));  // turns within
  EXPECT_FALSE(run.Extend(std::vector<NibPoint>{{24, 20, 3}, {28, 21, 3.5}}));  // width from pressure
}

struct Stroke {
  const char* name;
  std::vector<InkSample> samples;
};

class InkStrokeUnion : public ::testing::TestWithParam<Stroke> {};

// Mouse strokes on whole pixels that never cross themselves: drawn step by step, partly as runs
// and partly joined with the steps before, they leave the union of all their bands.
TEST_P(InkStrokeUnion, AStrokeIsTheUnionOfAllItsBands) {
  const auto& samples = GetParam().samples;
  InkLayer drawn(64, 64);
  DrawStroke(drawn, samples, 3);
  CentreLine line;
  std::vector<InkSample> centre;
  line.Start(samples.front());
  for (std::size_t i = 1; i < samples.size(); ++i) line.Add(samples[i], centre);
  line.Finish(centre);
  std::vector<NibPoint> points;
  for (const InkSample& s : centre) points.push_back({s.x, s.y, 3});
  EXPECT_LE(WorstDifference(drawn, UnionOfBands(points, 64)), 2);
}

// Whole-pixel samples along arcs round (cx, cy), one after the other.
struct Arcs {
  double cx, cy;
  std::vector<InkSample> samples = {};
  Arcs& Add(double r, double from, double to, int steps);
};

Arcs& Arcs::Add(double r, double from, double to, int steps) {
  for (int i = 0; i <= steps; ++i) {
    const double a = from + (to - from) * i / steps;
    samples.push_back({std::round(cx + r * std::cos(a)), std::round(cy + r * std::sin(a))});
  }
  return *this;
}

INSTANTIATE_TEST_SUITE_P(Strokes, InkStrokeUnion, ::testing::Values(
    Stroke{"ThreeQuarterCircle", Arcs{30, 30}.Add(20, 0, 4.7, 30).samples},
    Stroke{"SlowArc", Arcs{32, 40}.Add(24, 3.4, 5.9, 60).samples},
    Stroke{"SCurve", {{5, 30}, {10, 22}, {17, 18}, {25, 22}, {31, 30}, {37, 38}, {45, 42}, {53, 38}, {58, 30}}},
    Stroke{"Zigzag", {{4, 10}, {12, 30}, {20, 10}, {28, 30}, {36, 10}, {44, 30}, {52, 10}}},
    Stroke{"Spiral", Arcs{32, 32}.Add(8, 0, 2, 8).Add(16, 2, 5, 12).Add(26, 5, 7, 10).samples}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace inkra::ink
