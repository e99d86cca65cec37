#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "RoundSeal.h"

using namespace inkra;

namespace {

struct Row {
  double angle;
  Point anchor;
  int turn;
  int escapement;
};

// Default parameters with a nine-character text: r = 99, TextRadius = 84, centre (99, 99).
const Row kNineCharacters[] = {
    {235, {51, 168}, 215, -2150},     {201.25, {21, 129}, 249, -2490},
    {167.5, {17, 81}, 282, -2820},    {133.75, {41, 38}, 316, -3160},
    {100, {84, 16}, 350, -3500},      {66.25, {133, 22}, 24, -240},
    {32.5, {170, 54}, 58, -580},      {-1.25, {183, 101}, 91, -910},
    {-35, {168, 147}, 125, -1250},
};

double Mod360(double a) { return std::fmod(a + 720.0, 360.0); }

}  // namespace

// The ring's radius follows the width alone; the height only moves the text's centre down.
TEST(RoundSealGeometry, RadiusFromTheWidthCentreFromBoth) {
  RoundSealParams tall;
  tall.width = 151;
  tall.height = 260;
  const struct {
    RoundSealParams params;
    std::array<int, 6> expected;  // r, TextRadius, CenterX, CenterY, imageWidth, imageHeight
  } cases[] = {{RoundSealParams{}, {99, 84, 99, 99, 196, 196}}, {tall, {74, 59, 74, 129, 147, 256}}};
  for (const auto& c : cases) {
    const RoundSealGeometry g = ComputeGeometry(c.params);
    EXPECT_EQ((std::array{g.r, g.TextRadius, g.CenterX, g.CenterY, g.imageWidth, g.imageHeight}), c.expected)
        << c.params.width << " x " << c.params.height;
  }
}

TEST(RoundSealLayout, NineCharactersMatchTheWorkedExample) {
  RoundSealGeometry g = ComputeGeometry(RoundSealParams{});
  auto places = LayoutArc(g, 9, 270, 10);
  ASSERT_EQ(places.size(), 9u);
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    EXPECT_DOUBLE_EQ(places[i].angle, Mod360(kNineCharacters[i].angle));
    EXPECT_EQ(places[i].anchor, kNineCharacters[i].anchor);
    EXPECT_EQ(places[i].turn, kNineCharacters[i].turn);
    EXPECT_EQ(places[i].escapement, kNineCharacters[i].escapement);
  }
}

TEST(RoundSealLayout, TwoCharactersSitAtBothEndsOfTheArc) {
  RoundSealGeometry g = ComputeGeometry(RoundSealParams{});
  auto places = LayoutArc(g, 2, 270, 10);
  ASSERT_EQ(places.size(), 2u);
  EXPECT_EQ(places[0].anchor, (Point{51, 168}));
  EXPECT_EQ(places[1].anchor, (Point{168, 147}));
  EXPECT_EQ(places[0].turn, 215);
  EXPECT_EQ(places[1].turn, 125);
}

TEST(RoundSealLayout, TurnHalvesRoundToEven) {
  EXPECT_EQ(ArcTurn(167.5), 282);  // 282.5 -> 282, not 283
  EXPECT_EQ(ArcTurn(166.5), 284);  // 283.5 -> 284
  EXPECT_EQ(ArcTurn(90), 0);       // upright at the top
  EXPECT_EQ(ArcTurn(0), 90);
  EXPECT_EQ(ArcTurn(270), 180);
}

TEST(RoundSealLayout, NegativeTextRadiusMirrorsAnchorsAndKeepsTurns) {
  RoundSealParams p;
  p.textMargin = 99 + 84;  // TextRadius = -84
  RoundSealGeometry g = ComputeGeometry(p);
  ASSERT_EQ(g.TextRadius, -84);
  auto places = LayoutArc(g, 9, 270, 10);
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    const Point& plain = kNineCharacters[i].anchor;
    EXPECT_EQ(places[i].anchor, (Point{2 * 99 - plain.x, 2 * 99 - plain.y}));
    EXPECT_EQ(places[i].turn, kNineCharacters[i].turn);
  }
}

TEST(RoundSealLayout, TurnFactorScalesTheEscapement) {
  RoundSealGeometry g = ComputeGeometry(RoundSealParams{});
  auto upright = LayoutArc(g, 9, 270, 0);
  auto doubled = LayoutArc(g, 9, 270, 20);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(upright[i].escapement, 0);
    EXPECT_EQ(upright[i].anchor, kNineCharacters[i].anchor);
    EXPECT_EQ(doubled[i].escapement, -20 * kNineCharacters[i].turn);
  }
}

TEST(RoundSealLayout, SpansUpTo235StayAtOrAboveZero) {
  for (int span : {200, 220, 235}) {
    for (int n : {2, 5, 18}) {
      EXPECT_DOUBLE_EQ(ArcAngle(0, n, span), 235.0);
      EXPECT_DOUBLE_EQ(ArcAngle(n - 1, n, span), 235.0 - span);
      for (int i = 0; i < n; ++i) EXPECT_GE(ArcAngle(i, n, span), 0.0);
    }
  }
}

TEST(RoundSealLayout, WideSpansStayEvenlySpacedAroundTheCircle) {
  for (int span : {250, 300, 359, 360}) {
    const int n = 7;
    const double step = double(span) / (n - 1);
    for (int i = 1; i < n; ++i) {
      double gap = Mod360(ArcAngle(i - 1, n, span) - ArcAngle(i, n, span));
      EXPECT_NEAR(gap, step, 1e-9) << "span " << span << " i " << i;
      EXPECT_GE(ArcAngle(i, n, span), 0.0);
      EXPECT_LT(ArcAngle(i, n, span), 360.0);
    }
  }
  // At 360 the last character comes back onto the first.
  EXPECT_DOUBLE_EQ(ArcAngle(6, 7, 360), 235.0);
}
