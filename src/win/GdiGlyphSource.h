#pragma once
// Text as ink: the characters' outlines from the font engine (GetGlyphOutlineW, unhinted), so
// InkCanvas fills them with exact coverage instead of taking GDI's own rendering. Fonts are
// asked for as GdiCanvas asks for them (face in a charset it keeps, height for the dpi), upright;
// the escapement turns the outlines here, about the cell's top-left corner as TextOut turns text.
// What the engine answers is kept process-wide (FaceStore); a source keeps the flattened glyphs.
#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "FaceStore.h"
#include "InkCanvas.h"

namespace inkra::win {

class GdiGlyphSource final : public ink::GlyphSource {
 public:
  // Text is sized for `dpi`: a font of n points is MulDiv(n, dpi, 72) pixels high. With a
  // `sizingDpi`, it is the height at that dpi scaled to this one instead: a picture drawn again
  // at a larger scale keeps the proportions of the one drawn at sizingDpi, whose heights were
  // rounded to whole pixels.
  explicit GdiGlyphSource(int dpi = 96, int sizingDpi = 0);
  GdiGlyphSource(const GdiGlyphSource&) = delete;
  GdiGlyphSource& operator=(const GdiGlyphSource&) = delete;

  TextShape Shape(const Font& font, int x, int y, const std::string& text) override;
  int Dpi() const { return dpi_; }
  // Drops the glyphs made so far (after a font was installed or removed, a face may now be
  // another font; ForgetKeptGlyphs makes the kept faces forget it too).
  void Forget() { faces_.clear(); }

 private:
  // A character's outline in pixels, x to the right of the pen, y down from the baseline.
  struct Glyph {
    std::vector<std::vector<ink::Vec2>> contours;
    double advance = 0;
  };
  struct Face {
    FaceStore::Size sizing;   // metrics and advances: the size at the sizing dpi
    FaceStore::Size outline;  // outlines: the size at this dpi
    double scale = 1;         // from the sizing dpi to this one
    double ascent = 0, height = 0;
    std::map<UINT, Glyph> glyphs;  // kept: a seal redraws the same characters on every change
  };
  using FaceKey = std::tuple<std::string, int, bool, int>;
  Face& FaceFor(const Font& font);
  const Glyph& GlyphOf(const Font& font, Face& face, UINT character);

  // Faces kept at most: a user trying size after size of a seal's text must not pile up fonts.
  static constexpr std::size_t kMaxFaces = 16;

  int dpi_, sizingDpi_;
  std::map<FaceKey, Face> faces_;
};

// The source for `dpi` that the windows share while the module is loaded, with the outlines it
// has read: a seal dialog opened again draws its characters without asking the font engine,
// and a board's time stamp finds the faces made before. The windows all run on the host's one
// user-interface thread, which alone calls this.
GdiGlyphSource& KeptGlyphSource(int dpi);
// Every kept source, and the kept faces, forget what they read; the sources stay where they are.
void ForgetKeptGlyphs();

}  // namespace inkra::win
