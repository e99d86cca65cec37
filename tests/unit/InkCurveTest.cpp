// The stroke's centre line: a centripetal Catmull-Rom curve through the samples, flattened finely.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "CentreLine.h"
#include "InkTestSupport.h"

namespace inkra::ink {
namespace {

using namespace testing;

std::vector<InkSample> Line(const std::vector<InkSample>& samples, double flatness = kFlatness) {
  CentreLine line(flatness);
  std::vector<InkSample> out;
  line.Start(samples.front());
  for (std::size_t i = 1; i < samples.size(); ++i) line.Add(samples[i], out);
  line.Finish(out);
  return out;
}

double Heading(const InkSample& a, const InkSample& b) { return std::atan2(b.y - a.y, b.x - a.x) * 180 / std::numbers::pi; }

double Turn(double from, double to) {
  const double t = std::abs(to - from);
  return std::min(t, 360 - t);
}

// Distance from p to the polyline.
double DistanceToLine(const InkSample& p, const std::vector<InkSample>& line) {
  double best = 1e300;
  for (std::size_t i = 1; i < line.size(); ++i) {
    const double dx = line[i].x - line[i - 1].x, dy = line[i].y - line[i - 1].y, len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((p.x - line[i - 1].x) * dx + (p.y - line[i - 1].y) * dy) / len2, 0.0, 1.0) : 0;
    best = std::min(best, std::hypot(p.x - line[i - 1].x - t * dx, p.y - line[i - 1].y - t * dy));
  }
  return best;
}

struct Fast {
  const char* name;
  std::vector<InkSample> samples;
};

class InkCurve : public ::testing::TestWithParam<Fast> {};

// A fast hand leaves few samples far apart, where the samples' polygon has sharp corners. The
// line passes through every sample, leaves each interior sample in the direction it arrived in
// (no corner there), and stays within the flatness of the curve itself (taken as the same
// curve flattened a thousand times finer).
TEST_P(InkCurve, AFastStrokeBendsWithoutCorners) {
  const auto& samples = GetParam().samples;
  const auto line = Line(samples);
  const auto fine = Line(samples, kFlatness / 1000);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const InkSample& s = samples[i];
    const auto at = std::find_if(fine.begin(), fine.end(), [&](const InkSample& p) { return p.x == s.x && p.y == s.y; });
    ASSERT_NE(at, fine.end()) << i;
    EXPECT_TRUE(std::any_of(line.begin(), line.end(), [&](const InkSample& p) { return p.x == s.x && p.y == s.y; }));
    if (i == 0 || i + 1 == samples.size()) continue;
    // The fine line's pieces at either side of the sample: a corner would turn by the polygon's
    // angle there (19 to 150 degrees in these strokes).
    EXPECT_LT(Turn(Heading(*(at - 1), *at), Heading(*(at + 1), *(at + 2))), 3.0) << i;
  }
  double worst = 0;
  for (const InkSample& p : fine) worst = std::max(worst, DistanceToLine(p, line));
  EXPECT_LE(worst, kFlatness * 1.01);
  EXPECT_GT(worst, kFlatness / 4) << "the coarse line is not needlessly fine";
}

INSTANTIATE_TEST_SUITE_P(Strokes, InkCurve, ::testing::Values(
    Fast{"RightAngle", {{10, 10}, {110, 10}, {110, 110}}},
    Fast{"Hairpin", {{10, 10}, {90, 40}, {12, 60}}},
    Fast{"UnevenSpacing", {{10, 10}, {14, 11}, {120, 80}, {118, 84}}},
    Fast{"LetterM", {{0, 80}, {15, 0}, {30, 80}, {45, 0}, {60, 80}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InkCurveFlatness, StepsFollowTheErrorBound) {
  // A straight Bezier needs one piece; a bent one enough that 0.75 M / n^2 <= flatness.
  const Vec2 straight[4] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}};
  EXPECT_EQ(FlattenSteps(straight, kFlatness), 1);
  const Vec2 bent[4] = {{0, 0}, {0, 40}, {40, 40}, {40, 0}};  // M = 40*sqrt(2)... second differences
  const int n = FlattenSteps(bent, kFlatness);
  const double m = std::hypot(40.0, 40.0);
  EXPECT_LE(0.75 * m / (double(n) * n), kFlatness);
  EXPECT_GT(0.75 * m / (double(n - 1) * (n - 1)), kFlatness);
}

}  // namespace
}  // namespace inkra::ink
