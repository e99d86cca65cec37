#pragma once
// Text as ink: the characters' outlines from the font engine (GetGlyphOutlineW, unhinted), so
// InkCanvas fills them with exact coverage instead of taking GDI's own rendering. Fonts are
// asked for as GdiCanvas asks for them (face in a charset it keeps, height for the dpi), upright;
// the escapement turns the outlines here, about the cell's top-left corner as TextOut turns text.
#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "Handle.h"
#include "InkCanvas.h"

namespace inkra::win {

class GdiGlyphSource final : public ink::GlyphSource {
 public:
  // Text is sized for `dpi`: a font of n points is MulDiv(n, dpi, 72) pixels high.
  explicit GdiGlyphSource(int dpi = 96);
  ~GdiGlyphSource() override;
  GdiGlyphSource(const GdiGlyphSource&) = delete;
  GdiGlyphSource& operator=(const GdiGlyphSource&) = delete;

  TextShape Shape(const Font& font, int x, int y, const std::string& text) override;
  int Dpi() const { return dpi_; }

 private:
  // A character's outline in pixels, x to the right of the pen, y down from the baseline.
  struct Glyph {
    std::vector<std::vector<ink::Vec2>> contours;
    double advance = 0;
  };
  struct Face {
    UniqueFont font;
    int ascent = 0, height = 0;
    std::map<UINT, Glyph> glyphs;  // kept: a seal redraws the same characters on every change
  };
  using FaceKey = std::tuple<std::string, int, bool, int>;
  Face& FaceFor(const Font& font);
  const Glyph& GlyphOf(Face& face, UINT character);

  int dpi_;
  UniqueMemoryDc dc_;
  std::map<FaceKey, Face> faces_;
};

}  // namespace inkra::win
