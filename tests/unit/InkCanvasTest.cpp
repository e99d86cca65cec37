// The Canvas operations drawn as ink: GDI's shapes with exact coverage, white as the paper, and
// the round seal drawn through them.
#include <gtest/gtest.h>

#include <numbers>
#include <stdexcept>

#include "InkTestSupport.h"
#include "RoundSeal.h"

namespace inkra::ink {
namespace {

using namespace testing;

class InkCanvasTest : public ::testing::Test {
 protected:
  InkLayer layer{40, 40};
  BoxGlyphs glyphs;
  InkCanvas canvas{layer, &glyphs, [](int index) { return ColourValue(index == 8 ? 0x00112233 : 0x00FFFFFF); }};
};

TEST_F(InkCanvasTest, APolygonCoversTheAliasedPixelsOfItsFillAndOutline) {
  canvas.SetPenColour(clBlue);
  canvas.SetBrushColour(clBlue);
  const Point square[] = {{5, 5}, {15, 5}, {15, 15}, {5, 15}};
  canvas.Polygon(square);
  EXPECT_EQ(canvas.Changed(), (Rect{5, 5, 16, 16}));
  EXPECT_DOUBLE_EQ(TotalInk(layer), 11.0 * 11.0);
  EXPECT_EQ(layer.At(15, 15), (InkPixel{{0, 0, 255}, 255}));
}

TEST_F(InkCanvasTest, APolygonsInsideFollowsTheAlternateRule) {
  // A pentagram: its centre is inside twice, so alternate leaves it empty (the pen is clNone).
  canvas.SetPenColour(clNone);
  canvas.SetBrushColour(clBlack);
  const Point star[] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
  canvas.Polygon(star);
  EXPECT_EQ(layer.At(20, 21).coverage, 0);
  EXPECT_EQ(layer.At(20, 6).coverage, 255);
}

TEST_F(InkCanvasTest, AnEllipseHasTheAreaOfItsCurveAndItsPenIsTheOuterPixel) {
  canvas.SetPenColour(clRed);
  canvas.SetBrushColour(clBlack);
  canvas.Ellipse(0, 0, 20, 20);
  EXPECT_NEAR(TotalInk(layer), std::numbers::pi * 100, 0.5);
  EXPECT_EQ(layer.At(10, 0).colour, (Rgb{255, 0, 0}));
  EXPECT_EQ(layer.At(10, 10).colour, (Rgb{0, 0, 0}));
  EXPECT_GT(layer.At(2, 2).coverage, 0);  // on the curve, partly covered
  EXPECT_LT(layer.At(2, 2).coverage, 255);
}

TEST_F(InkCanvasTest, WhiteIsThePaperAndTakesInkAway) {
  canvas.SetPenColour(clRed);
  canvas.SetBrushColour(clRed);
  canvas.Ellipse(0, 0, 30, 30);
  canvas.SetBrushColour(clWhite);
  canvas.Ellipse(5, 5, 25, 25);  // a red one-pixel ring inside the disc, white within it
  EXPECT_EQ(layer.At(15, 15), (InkPixel{}));
  EXPECT_NEAR(TotalInk(layer), std::numbers::pi * (225 - 100 + 100 - 81), 0.8);
  canvas.SetPixel(15, 1, clWhite);
  EXPECT_EQ(layer.At(15, 1), (InkPixel{}));
}

TEST_F(InkCanvasTest, TextFillsItsCellWithTheBrushThenTheGlyphsInTheFontColour) {
  canvas.SetPixel(4, 4, clBlack);  // under the cell: the white brush clears it
  canvas.SetBrushColour(clWhite);
  Font font;
  font.sizePoints = 8;
  font.colour = clDefault;  // the window text colour, as the platform gives it
  canvas.SetFont(font);
  canvas.TextOut(2, 2, "ab");
  EXPECT_EQ(glyphs.calls, 1);
  EXPECT_EQ(layer.At(4, 4), (InkPixel{}));
  EXPECT_EQ(layer.At(6, 10), (InkPixel{{0x33, 0x22, 0x11}, 255}));
  EXPECT_DOUBLE_EQ(TotalInk(layer), 2 * 4.0 * 8.0);
}

// An upright cell of whole pixels is painted and then the glyphs over it: each pixel as painting
// the glyphs and the rest of the cell as disjoint parts leaves it, over ink or not, glyph edges
// partly covered or not.
TEST(InkCanvasText, AnUprightCellGivesWhatDisjointPartsGive) {
  for (int points : {7, 8, 9}) {
    for (ColourValue brush : {clWhite, clYellow}) {
      SCOPED_TRACE(::testing::Message() << points << " points, brush " << brush);
      BoxGlyphs glyphs;
      InkLayer drawn(40, 40), expected(40, 40);
      const Outline disc{EllipsePath(0, 0, 30, 30)};
      drawn.Fill(disc, {0, 0, 255});
      expected.Fill(disc, {0, 0, 255});
      InkCanvas canvas(drawn, &glyphs);
      canvas.SetBrushColour(brush);
      Font font;
      font.sizePoints = points;
      font.colour = clRed;
      canvas.SetFont(font);
      canvas.TextOut(3, 5, "ab");

      const GlyphSource::TextShape shape = glyphs.Shape(font, 3, 5, "ab");
      OutlinePath cell;
      for (const Vec2& corner : shape.cell) cell.push_back(ToGrid(corner.x, corner.y));
      Outline rest;
      ClipperLib::Clipper clipper;
      clipper.AddPath(cell, ClipperLib::ptSubject, true);
      clipper.AddPaths(shape.glyphs, ClipperLib::ptClip, true);
      clipper.Execute(ClipperLib::ctDifference, rest, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
      std::optional<Rgb> under;
      if (brush != clWhite) under = Rgb{255, 255, 0};
      const InkLayer::Part parts[] = {{&rest, under}, {&shape.glyphs, Rgb{255, 0, 0}}};
      expected.Paint(parts);
      int worst = 0;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
          const InkPixel a = drawn.At(x, y), b = expected.At(x, y);
          worst = std::max({worst, std::abs(a.coverage - b.coverage), a.coverage ? std::abs(a.colour.r - b.colour.r) : 0,
                            a.coverage ? std::abs(a.colour.g - b.colour.g) : 0, a.coverage ? std::abs(a.colour.b - b.colour.b) : 0});
        }
      EXPECT_LE(worst, 1);
    }
  }
}

TEST(InkCanvasText, AnUprightTextPaintedAgainLeavesWhatPaintingItOnceThereLeaves) {
  for (ColourValue brush : {clWhite, clYellow}) {
    SCOPED_TRACE(::testing::Message() << "brush " << brush);
    // Again: text, then a disc over part of it, another text, the first text again (copied).
    // Once: the disc, the other text, the first text.
    BoxGlyphs againGlyphs, onceGlyphs;
    InkLayer again(40, 40), once(40, 40);
    InkCanvas a(again, &againGlyphs), o(once, &onceGlyphs);
    Font font;
    font.sizePoints = 8;
    font.colour = clRed;
    auto text = [&](InkCanvas& c, int x, int y, const char* t) {
      c.SetBrushColour(brush);
      c.SetFont(font);
      c.TextOut(x, y, t);
    };
    auto disc = [](InkCanvas& c) {
      c.SetPenColour(clBlue);
      c.SetBrushColour(clGreen);
      c.Ellipse(10, 0, 34, 24);
    };
    text(a, 3, 5, "ab"), disc(a), text(a, 2, 22, "c"), text(a, 3, 5, "ab");
    disc(o), text(o, 2, 22, "c"), text(o, 3, 5, "ab");
    EXPECT_EQ(againGlyphs.calls, 2) << "the repeat was painted again, not copied";
    EXPECT_TRUE(std::equal(again.DryRgba().bits, again.DryRgba().bits + 40 * 40 * 4, once.DryRgba().bits));
    EXPECT_EQ(a.Changed(), o.Changed());
  }
}

// Turned text with its glyphs laid on the cell in one pass (for print) against the glyphs cut out
// of the cell: over ink, on paper or on a coloured cell, the same pixels but for rounding.
TEST(InkCanvasText, GlyphsLaidOnATurnedCellGiveWhatCuttingThemOutGives) {
  for (int escapement : {-300, -1250, -2150, -3500}) {
    for (ColourValue brush : {clWhite, clYellow}) {
      SCOPED_TRACE(::testing::Message() << "escapement " << escapement << ", brush " << brush);
      BoxGlyphs glyphs;
      InkLayer cut(60, 60), laid(60, 60);
      bool layered = false;
      for (InkLayer* layer : {&cut, &laid}) {
        layer->Fill(Outline{EllipsePath(5, 5, 55, 55)}, {0, 0, 255});
        InkCanvas canvas(*layer, &glyphs);
        canvas.LayGlyphsOnCells(layer == &laid);
        canvas.LogPaints([&](std::span<const InkLayer::Part> parts) {
          layered = layered || std::any_of(parts.begin(), parts.end(), [](const InkLayer::Part& p) { return p.under; });
        });
        canvas.SetBrushColour(brush);
        Font font;
        font.sizePoints = 9;
        font.colour = clRed;
        font.escapement = escapement;
        canvas.SetFont(font);
        canvas.TextOut(30, 14, "ab");
      }
      EXPECT_TRUE(layered) << "the cell was cut, not laid under the glyphs";
      // A pixel the glyph's edge crosses is shared out by areas rounded apart, a 255th either
      // way: on paper nothing shows, between two colours a channel moves by up to 2.
      int worst = 0, differ = 0, inked = 0;
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
          const InkPixel a = laid.At(x, y), b = cut.At(x, y);
          worst = std::max({worst, std::abs(a.coverage - b.coverage), std::abs(a.colour.r - b.colour.r),
                            std::abs(a.colour.g - b.colour.g), std::abs(a.colour.b - b.colour.b)});
          differ += !(a == b);
          inked += b.coverage > 0;
        }
      EXPECT_LE(worst, brush == clWhite ? 0 : 2);
      EXPECT_LE(differ, inked / 20);
    }
  }
}

TEST(InkCanvasRefusals, TextWithoutGlyphsAndUnresolvedSystemColoursAreRefused) {
  InkLayer layer(10, 10);
  InkCanvas canvas(layer);
  EXPECT_THROW(canvas.TextOut(0, 0, "x"), std::logic_error);
  EXPECT_THROW(canvas.SetPixel(1, 1, clBtnFace), std::invalid_argument);
  canvas.TextOut(0, 0, "");  // nothing to draw, nothing asked of a glyph source
}

TEST(InkCanvasSeal, TheRoundSealsRingsAreInkWithSoftEdgesAndClearInside) {
  RoundSealParams p;
  const RoundSealGeometry g = ComputeGeometry(p);
  InkLayer layer(g.imageWidth, g.imageHeight);
  BoxGlyphs glyphs;
  InkCanvas canvas(layer, &glyphs);
  DrawRoundSeal(canvas, p);
  EXPECT_GE(glyphs.calls, 10);  // the main text's characters, the star and the sub-texts
  const InkPixel ring = layer.At(g.CenterX, 2);
  EXPECT_EQ(ring, (InkPixel{{255, 0, 0}, 255}));
  int soft = 0;
  for (int y = 0; y < layer.Height(); ++y)
    for (int x = 0; x < layer.Width(); ++x) {
      const std::uint8_t c = layer.At(x, y).coverage;
      soft += c > 0 && c < 255;
    }
  EXPECT_GT(soft, 200) << "the rings' curves carry partial coverage";
  EXPECT_EQ(layer.At(g.CenterX - 40, g.CenterY + 5).coverage, 0) << "inside the rings the page shows";
}

}  // namespace
}  // namespace inkra::ink
