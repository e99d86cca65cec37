// Seal templates measured as paper would: the ring's (the frame's) outer edge drawn as ink at a
// display's dpi, in the points the board's picture takes (72 per inch), against the template's
// millimetres; the oval's layout; the code; the stamp's look; the text the last seal is kept in.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ChineseText.h"
#include "InkTestSupport.h"
#include "MemorySettingsStore.h"
#include "RecordingCanvas.h"
#include "ScaledCanvas.h"
#include "SealParamsText.h"
#include "SealPath.h"
#include "SealTemplates.h"
#include "StampLook.h"
#include "StoredSeals.h"

using namespace inkra;
using ink::InkLayer;

namespace {

constexpr double kPointsPerMm = 72 / 25.4;

// A seal's ink at `dpi`, as the dialogs draw it: the 96-dpi layout through a scaling canvas.
InkLayer DrawAt(int width96, int height96, int dpi, const std::function<void(Canvas&)>& draw) {
  InkLayer layer(ScaleToDpi(width96, dpi), ScaleToDpi(height96, dpi));
  ink::testing::BoxGlyphs glyphs;
  ink::InkCanvas canvas(layer, &glyphs);
  ScaledCanvas scaled(canvas, dpi);
  draw(scaled);
  return layer;
}

// Columns and rows holding ink of at least half coverage: the outer extent, in pixels.
std::pair<int, int> InkExtent(const InkLayer& layer) {
  int left = layer.Width(), right = -1, top = layer.Height(), bottom = -1;
  for (int y = 0; y < layer.Height(); ++y)
    for (int x = 0; x < layer.Width(); ++x)
      if (layer.At(x, y).coverage >= 128) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  return {right - left + 1, bottom - top + 1};
}

struct TemplateCase {
  bool round;
  int index;
};

class SealTemplates : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(SealTemplates, TheRingsOuterEdgeMeasuresTheTemplatesSizeOnPaperAtAnyScaling) {
  const auto [round, index] = GetParam();
  const SealSizeMm mm = round ? RoundTemplateSize(index) : SquareTemplateSize(index);
  ASSERT_GT(mm.width, 0);
  for (int dpi : {96, 120, 144, 192}) {
    InkLayer layer(1, 1);
    if (round) {
      const RoundSealParams p = ApplyRoundTemplate(index, RoundSealParams{});
      const RoundSealGeometry g = ComputeGeometry(p);
      layer = DrawAt(g.imageWidth, g.imageHeight, dpi, [&](Canvas& c) { DrawRoundSeal(c, p); });
    } else {
      const SquareSealParams p = ApplySquareTemplate(index, SquareSealParams{});
      layer = DrawAt(p.side, p.side, dpi, [&](Canvas& c) { DrawSquareSeal(c, p); });
    }
    const auto [w, h] = InkExtent(layer);
    // The board's picture takes 72 / dpi points per pixel.
    EXPECT_NEAR(w * 72.0 / dpi, mm.width * kPointsPerMm, 0.01 * mm.width * kPointsPerMm) << "dpi " << dpi;
    EXPECT_NEAR(h * 72.0 / dpi, mm.height * kPointsPerMm, 0.01 * mm.height * kPointsPerMm) << "dpi " << dpi;
  }
}

INSTANTIATE_TEST_SUITE_P(Each, SealTemplates,
                         ::testing::Values(TemplateCase{true, 1}, TemplateCase{true, 2}, TemplateCase{true, 3},
                                           TemplateCase{true, 4}, TemplateCase{true, 5}, TemplateCase{true, 6},
                                           TemplateCase{false, 1}, TemplateCase{false, 2}, TemplateCase{false, 3}));

TEST(SealTemplateList, EntriesInOrderAndCustomIsTheClassicSeal) {
  EXPECT_EQ(RoundTemplateNames(),
            (std::vector<std::string>{"自定义", "公章 42 mm", "公章 40 mm", "公章 38 mm", "合同专用章 40 mm",
                                      "财务专用章 38 mm", "发票专用章 40×30 mm"}));
  EXPECT_EQ(SquareTemplateNames(), (std::vector<std::string>{"自定义", "私章 20 mm", "私章 18 mm", "私章 16 mm"}));
  // Back to "自定义" after a template: the classic fields, the user's text, colour and code kept.
  RoundSealParams mine = ApplyRoundTemplate(6, RoundSealParams{});
  mine.text = "北京某某科技有限公司";
  mine.code = "1101000012345";
  mine.colour = clBlue;
  RoundSealParams want;
  want.text = mine.text;
  want.code = mine.code;
  want.colour = clBlue;
  EXPECT_EQ(RoundSealText(ApplyRoundTemplate(0, mine), 0), RoundSealText(want, 0));
  SquareSealParams square = ApplySquareTemplate(0, ApplySquareTemplate(2, SquareSealParams{}));
  EXPECT_EQ(SquareSealText(square, 0), SquareSealText(SquareSealParams{}, 0));
}

TEST(SealTemplateList, FacesAndKindsFollowTheSeal) {
  const RoundSealParams contract = ApplyRoundTemplate(4, RoundSealParams{});
  EXPECT_EQ(contract.textFace, "宋体");
  EXPECT_EQ(contract.lowerText, "合同专用章");
  EXPECT_EQ(contract.upperText, "");
  const RoundSealParams oval = ApplyRoundTemplate(6, RoundSealParams{});
  EXPECT_TRUE(IsOval(oval));
  EXPECT_EQ(oval.textFace, "仿宋");
  EXPECT_EQ(oval.upperFace, "Arial");
  EXPECT_EQ(Utf8Length(oval.upperText), 18u);
  EXPECT_EQ(oval.lowerText, "发票专用章");
  // The invoice seal has no star; round templates keep the classic circle's star.
  RecordingCanvas ovalCanvas(oval.width - 4, oval.height - 4), roundCanvas(contract.width - 4, contract.height - 4);
  DrawRoundSeal(ovalCanvas, oval);
  DrawRoundSeal(roundCanvas, contract);
  auto stars = [](const RecordingCanvas& c) {
    const std::vector<CanvasOp> texts = c.Texts();
    return std::count_if(texts.begin(), texts.end(), [](const CanvasOp& op) { return op.text == "★"; });
  };
  EXPECT_EQ(stars(ovalCanvas), 0);
  EXPECT_EQ(stars(roundCanvas), 1);
}

// --- The oval ----------------------------------------------------------------------------------

struct Box {
  double left, top, right, bottom;
  bool Touches(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

// Inside the ellipse (centre, half axes) at every corner.
bool Inside(const Box& b, const Ellipse2& e) {
  for (double x : {b.left, b.right})
    for (double y : {b.top, b.bottom})
      if (std::pow((x - e.cx) / e.a, 2) + std::pow((y - e.cy) / e.b, 2) > 1) return false;
  return true;
}

// The main text's cells as drawn: centre and width from the recorded call and its font.
struct DrawnCell {
  double x, y, width;
  double alongX = 1, alongY = 0;  // the reading direction on screen
  // True when the turned cell (width x em) and the upright box share any point.
  bool Touches(const Box& b, double em) const {
    auto inCell = [&](double px, double py) {
      const double u = (px - x) * alongX + (py - y) * alongY, v = -(px - x) * alongY + (py - y) * alongX;
      return std::abs(u) <= width / 2 && std::abs(v) <= em / 2;
    };
    for (double sx : {-0.5, 0.0, 0.5})
      for (double sy : {-0.5, 0.0, 0.5}) {
        const double px = x + sx * width * alongX - sy * em * alongY, py = y + sx * width * alongY + sy * em * alongX;
        if (px >= b.left && px <= b.right && py >= b.top && py <= b.bottom) return true;
      }
    for (double px : {b.left, b.right})
      for (double py : {b.top, b.bottom})
        if (inCell(px, py)) return true;
    return false;
  }
};
std::vector<DrawnCell> MainTextCells(const RoundSealParams& p) {
  RecordingCanvas canvas(p.width - 4, p.height - 4);
  DrawRoundSeal(canvas, p);
  std::vector<DrawnCell> cells;
  const double em = PointsToPixels(p.textSize);
  for (const CanvasOp& op : canvas.Texts()) {
    if (op.font.face != p.textFace || op.font.sizePoints != p.textSize) continue;
    const double w = em * op.font.widthPercent / 100, turn = op.font.escapement * std::numbers::pi / 1800;
    const double alongX = std::cos(turn), alongY = -std::sin(turn);
    cells.push_back({op.x1 + alongX * w / 2 - alongY * em / 2, op.y1 + alongY * w / 2 + alongX * em / 2, w, alongX, alongY});
  }
  return cells;
}

TEST(OvalSeal, TextBetweenRingAndCentreUnoverlappedAndClearOfTheNumberAndTheKind) {
  RoundSealParams p = ApplyRoundTemplate(6, RoundSealParams{});
  const RoundSealGeometry g = ComputeGeometry(p);
  const double em = PointsToPixels(p.textSize);
  const Ellipse2 innerRing{g.imageWidth / 2.0, g.imageHeight / 2.0, g.imageWidth / 2.0 - p.ringWidth - 3,
                           g.imageHeight / 2.0 - p.ringWidth - 3};
  const Box number{double(p.upperX), double(p.upperY), p.upperX + 18 * 0.556 * PointsToPixels(p.upperSize) * kNarrowPercent / 100,
                   p.upperY + 1.15 * PointsToPixels(p.upperSize)};
  const Box kind{double(p.lowerX), double(p.lowerY), p.lowerX + 5.0 * PointsToPixels(p.lowerSize),
                 p.lowerY + 1.0 * PointsToPixels(p.lowerSize)};
  EXPECT_TRUE(Inside(number, innerRing));
  EXPECT_TRUE(Inside(kind, innerRing));
  EXPECT_FALSE(number.Touches(kind));
  const std::string eighteen = "一二三四五六七八九十甲乙丙丁戊己庚辛";
  for (int n : {2, 9, 14, 18}) {
    p.text = eighteen.substr(0, 3 * std::size_t(n));
    const std::vector<DrawnCell> cells = MainTextCells(p);
    ASSERT_EQ(cells.size(), std::size_t(n));
    for (int i = 0; i < n; ++i) {
      // Each glyph's middle inside the ring, its cell clear of the centre's number and kind.
      EXPECT_TRUE(Inside({cells[i].x, cells[i].y, cells[i].x, cells[i].y}, innerRing)) << n << " " << i;
      EXPECT_FALSE(cells[i].Touches(number, em)) << n << " " << i;
      EXPECT_FALSE(cells[i].Touches(kind, em)) << n << " " << i;
      // Neighbours a cell's width apart along the curve (less the cells' rounding to pixels).
      if (i > 0) EXPECT_GE(std::hypot(cells[i].x - cells[i - 1].x, cells[i].y - cells[i - 1].y), cells[i].width - 1.5);
    }
    if (n <= 9) EXPECT_EQ(cells.front().width, em) << n << ": a text that fits keeps its width";
    if (n == 18) EXPECT_LT(cells.front().width, em) << "a text too long for the curve is set narrow";
  }
}

TEST(SealTemplateList, TheKindAndTheNumberTakeNoInkOfTheNameAway) {
  for (int index : {4, 5, 6}) {  // 合同专用章, 财务专用章, the oval
    RoundSealParams p = ApplyRoundTemplate(index, RoundSealParams{});
    p.text = "一二三四五六七八九十甲乙丙丁戊己庚辛";  // a long name: its ends come down beside the kind
    const RoundSealGeometry g = ComputeGeometry(p);
    RoundSealParams bare = p;
    bare.upperText = bare.lowerText = "";
    const InkLayer with = DrawAt(g.imageWidth, g.imageHeight, 96, [&](Canvas& c) { DrawRoundSeal(c, p); });
    const InkLayer without = DrawAt(g.imageWidth, g.imageHeight, 96, [&](Canvas& c) { DrawRoundSeal(c, bare); });
    int lost = 0;
    for (int y = 0; y < with.Height(); ++y)
      for (int x = 0; x < with.Width(); ++x) lost += with.At(x, y).coverage < without.At(x, y).coverage;
    EXPECT_EQ(lost, 0) << index;
  }
}

TEST(OvalSeal, CharactersAreEvenlySpacedAlongTheCurveAndUprightToIt) {
  const Ellipse2 path{76, 56, 70, 50};
  const std::vector<TurnedCell> cells = LayoutOverTop(path, 10, 240, 16, 16);
  std::vector<double> gaps;
  for (std::size_t i = 1; i < cells.size(); ++i) gaps.push_back(std::hypot(cells[i].x - cells[i - 1].x, cells[i].y - cells[i - 1].y));
  const auto [least, most] = std::minmax_element(gaps.begin(), gaps.end());
  EXPECT_LT(*most - *least, 0.06 * *most) << "steps of equal length on a flattened curve";
  // Read clockwise over the top: the middle pair upright, the ends turned toward the sides.
  EXPECT_NEAR(cells[4].escapement + cells[5].escapement, 0, 2);
  EXPECT_GT(cells.front().escapement, 600);
  EXPECT_LT(cells.back().escapement, -600);
  EXPECT_LT(cells.front().x, cells.back().x);
}

// --- The seal code -----------------------------------------------------------------------------

TEST(SealCode, ThirteenDigitsLeftToRightAlongTheBottomInsideTheRing) {
  for (int index : {0, 1, 6}) {
    RoundSealParams p = ApplyRoundTemplate(index, RoundSealParams{});
    p.code = "1234567890123";
    const RoundSealGeometry g = ComputeGeometry(p);
    RecordingCanvas canvas(g.imageWidth, g.imageHeight);
    DrawRoundSeal(canvas, p);
    std::vector<CanvasOp> digits;
    for (const CanvasOp& op : canvas.Texts())
      if (op.font.face == kDigitFace && op.font.sizePoints == kSealCodePoints) digits.push_back(op);
    ASSERT_EQ(digits.size(), 13u) << index;
    std::string read;
    for (std::size_t i = 0; i < digits.size(); ++i) {
      read += digits[i].text;
      if (i > 0) EXPECT_GT(digits[i].x1, digits[i - 1].x1);
      EXPECT_GT(digits[i].y1, g.CenterY) << "below the centre";
    }
    EXPECT_EQ(read, p.code);
    // About 90 degrees: the ends turned by about 45 degrees, the middle upright.
    EXPECT_NEAR(digits.front().font.escapement, -450, 120) << index;
    EXPECT_NEAR(digits.back().font.escapement, 450, 120) << index;
    EXPECT_NEAR(digits[6].font.escapement, 0, 30) << index;
  }
}

// --- The stamp's look -------------------------------------------------------------------------

TEST(StampLook, TheSameSealGivesTheSameImpressionWithSomeOfItsInkChanged) {
  RoundSealParams p = ApplyRoundTemplate(1, RoundSealParams{});
  p.stampLook = true;
  const RoundSealGeometry g = ComputeGeometry(p);
  for (int dpi : {96, 192}) {
    auto draw = [&](bool look) {
      InkLayer layer = DrawAt(g.imageWidth, g.imageHeight, dpi, [&](Canvas& c) { DrawRoundSeal(c, p); });
      if (look) ApplyStampLook(layer, StampSeed(RoundSealText(p, 0)), dpi);
      return layer;
    };
    const InkLayer plain = draw(false), first = draw(true), second = draw(true);
    int ink = 0, changed = 0, differ = 0;
    for (int y = 0; y < plain.Height(); ++y)
      for (int x = 0; x < plain.Width(); ++x) {
        ink += plain.At(x, y).coverage > 0;
        changed += plain.At(x, y).coverage > 0 && !(plain.At(x, y) == first.At(x, y));
        differ += !(first.At(x, y) == second.At(x, y));
      }
    EXPECT_EQ(differ, 0) << "dpi " << dpi;
    EXPECT_GE(changed, ink * 3 / 100) << "dpi " << dpi;
    EXPECT_LE(changed, ink * 25 / 100) << "dpi " << dpi;
  }
  EXPECT_NE(StampSeed(RoundSealText(p, 0)), StampSeed(RoundSealText(ApplyRoundTemplate(2, p), 0)));
}

// --- The last seal used ------------------------------------------------------------------------

TEST(LastSeal, ParametersRoundTripAndDamagedLinesLeaveTheRestUsable) {
  RoundSealParams p = ApplyRoundTemplate(6, RoundSealParams{});
  p.text = "上海某某贸易有限公司";
  p.code = "3101000054321";
  p.colour = clPurple;
  p.stampLook = true;
  RoundSealParams back;
  int from = 0;
  ASSERT_TRUE(ReadRoundSealText(RoundSealText(p, 6), back, from));
  EXPECT_EQ(from, 6);
  EXPECT_EQ(RoundSealText(back, from), RoundSealText(p, 6));
  EXPECT_EQ(back.ring, RingFit::Inscribed);

  RoundSealParams partly;
  EXPECT_TRUE(ReadRoundSealText("width=abc\nheight=120\nnonsense\ncolour=??\n", partly, from));
  EXPECT_EQ(partly.width, 200);
  EXPECT_EQ(partly.height, 120);
  EXPECT_EQ(partly.colour, clRed);
  EXPECT_FALSE(ReadRoundSealText("", partly, from));

  SquareSealParams s = ApplySquareTemplate(3, SquareSealParams{});
  s.name = "王小明";
  SquareSealParams sBack;
  ASSERT_TRUE(ReadSquareSealText(SquareSealText(s, 3), sBack, from));
  EXPECT_EQ(SquareSealText(sBack, from), SquareSealText(s, 3));
}

TEST(LastSeal, KeptWhereThePenSettingsGoAndReadFromTheUsersLatest) {
  board::MemorySettingsStore machine, user;
  machine.refuseWrite = true;  // an ordinary user: the machine's key opens but refuses writes
  board::SettingsStore* stores[] = {&machine, &user};
  board::StoredSeals kept(stores);
  EXPECT_EQ(kept.Load(kLastRoundSealValue), std::nullopt);
  kept.Save(kLastRoundSealValue, "text=甲乙\n");
  EXPECT_EQ(std::get<std::string>(user.values.at(kLastRoundSealValue)), "text=甲乙\n");
  EXPECT_EQ(board::StoredSeals(stores).Load(kLastRoundSealValue), "text=甲乙\n");
  EXPECT_EQ(board::StoredSeals(stores).Load(kLastSquareSealValue), std::nullopt);
}

}  // namespace
