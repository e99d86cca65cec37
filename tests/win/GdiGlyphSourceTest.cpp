// Text drawn as ink from the font engine's outlines: edges with partial coverage, the same place
// and extent as GDI's own TextOut of the same font, Chinese faces rendering Chinese, and turned
// text turned about the cell's corner as the round seal turns its characters.
#include <gtest/gtest.h>

#include "GdiCanvas.h"
#include "GdiGlyphSource.h"
#include "InkCanvas.h"

using namespace inkra;

namespace {

// <windows.h> renames TextOut to TextOutW in this file but not in the ink library, whose canvas
// is final: the call has to go through the table of virtuals, which the compiler cannot skip for
// a canvas it cannot see.
Canvas& ThroughVirtuals(Canvas& canvas) {
  Canvas* hidden = &canvas;
  asm volatile("" : "+r"(hidden));
  return *hidden;
}

struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // inclusive
  int full = 0, partial = 0;
  int colours = 0;  // inked pixels of the font's colour (1) or of any other (2)
  void Add(int x, int y, int cover, bool red) {
    left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
    (cover == 255 ? full : partial) += 1;
    colours |= red ? 1 : 2;
  }
};

Box InkBox(const ink::InkLayer& layer) {
  Box box;
  for (int y = 0; y < layer.Height(); ++y)
    for (int x = 0; x < layer.Width(); ++x)
      if (const ink::InkPixel p = layer.At(x, y); p.coverage) box.Add(x, y, p.coverage, p.colour == ink::Rgb{255, 0, 0});
  return box;
}

// Where GDI's own TextOut puts the glyphs of the same font at `dpi`, transparent over white.
Box GdiBox(int side, const Font& font, int x, int y, const std::string& text, int dpi) {
  win::GdiCanvas canvas(side, side, 24);
  canvas.SetDpi(dpi);
  canvas.SetBrushColour(clNone);
  canvas.SetFont(font);
  canvas.TextOut(x, y, text);
  Box box;
  for (int py = 0; py < side; ++py)
    for (int px = 0; px < side; ++px)
      if (GetPixel(canvas.Dc(), px, py) != RGB(255, 255, 255)) box.Add(px, py, 255, true);
  return box;
}

struct Case {
  const char* name;
  const char* face;
  const char* text;
  int points, escapement, dpi;
  bool bold;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class GlyphSourceText : public testing::TestWithParam<Case> {};

TEST_P(GlyphSourceText, PartialEdgesWhereGdiPutsTheGlyphs) {
  const Case& c = GetParam();
  constexpr int kSide = 240, kX = 120, kY = 120;
  Font font;
  font.face = c.face;
  font.sizePoints = c.points;
  font.bold = c.bold;
  font.colour = clRed;
  font.escapement = c.escapement;
  win::GdiGlyphSource glyphs(c.dpi);
  ink::InkLayer layer(kSide, kSide);
  ink::InkCanvas onLayer(layer, &glyphs);
  Canvas& canvas = ThroughVirtuals(onLayer);
  canvas.SetBrushColour(clNone);
  canvas.SetFont(font);
  canvas.TextOut(kX, kY, c.text);
  const Box ink = InkBox(layer);
  ASSERT_GT(ink.full + ink.partial, 50) << "no glyphs drawn";
  EXPECT_GT(ink.partial, ink.full / 10) << "edges without partial coverage";
  EXPECT_EQ(ink.colours, 1) << "ink of another colour than the font's";

  // GDI's rendering of the same font (hinted) lands in the same box.
  const Box gdi = GdiBox(kSide, font, kX, kY, c.text, c.dpi);
  ASSERT_GT(gdi.full, 0);
  const int slack = 2 + c.points * c.dpi / 96 / 12;  // hinting moves stems by a pixel or two
  EXPECT_NEAR(ink.left, gdi.left, slack);
  EXPECT_NEAR(ink.top, gdi.top, slack);
  EXPECT_NEAR(ink.right, gdi.right, slack);
  EXPECT_NEAR(ink.bottom, gdi.bottom, slack);
}

INSTANTIATE_TEST_SUITE_P(
    Faces, GlyphSourceText,
    testing::Values(Case{"Hei", "黑体", "李明", 48, 0, 96, true}, Case{"Song", "宋体", "公章", 20, 0, 96, false},
                    Case{"Latin", "Arial", "Seal 012", 20, 0, 96, false},
                    Case{"SongTurned", "新宋体", "华", 40, -300, 96, false},
                    Case{"SongTurnedFar", "新宋体", "司", 40, -2250, 96, false},
                    Case{"StarAt144", "新宋体", "★", 30, 0, 144, true}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(GlyphSource, CellIsTheAdvanceByTheHeightTurnedAboutItsCorner) {
  Font font;
  font.face = "新宋体";
  font.sizePoints = 20;
  win::GdiGlyphSource glyphs;
  win::GdiCanvas gdi(10, 10);
  gdi.SetFont(font);
  const SIZE extent = gdi.TextExtent("公章AB");
  const auto upright = glyphs.Shape(font, 10, 20, "公章AB");
  EXPECT_DOUBLE_EQ(upright.cell[0].x, 10);
  EXPECT_DOUBLE_EQ(upright.cell[0].y, 20);
  EXPECT_NEAR(upright.cell[2].x, 10 + extent.cx, 1);
  EXPECT_NEAR(upright.cell[2].y, 20 + extent.cy, 1e-9);
  font.escapement = 900;  // a quarter turn counterclockwise: the text runs up the page
  const auto turned = glyphs.Shape(font, 10, 200, "公章AB");
  EXPECT_NEAR(turned.cell[1].x, 10, 1e-9);
  EXPECT_NEAR(turned.cell[1].y, 200 - (upright.cell[1].x - 10), 1e-9);
  EXPECT_NEAR(turned.cell[3].x, 10 + extent.cy, 1e-9);
  // The glyphs turn with the cell: every corner of them lies within the turned cell.
  for (const auto& path : turned.glyphs)
    for (const auto& p : path) {
      EXPECT_GE(p.X, 10 * ink::kSubpixels - ink::kSubpixels);
      EXPECT_LE(p.Y, 200 * ink::kSubpixels + ink::kSubpixels);
    }
}

}  // namespace
