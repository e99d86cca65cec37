#pragma once
// The Canvas operations drawn as ink, so the seals' ring, star and characters reach the layer
// with exact coverage. Shapes follow GDI's geometry: a polygon's corners are pixel centres and its
// one-pixel pen is the pixel square carried along each edge (as the board's nib); an ellipse
// fills the rectangle's inscribed ellipse, its pen the outermost pixel of it. White is the paper:
// drawing white takes ink away (a seal's white inner disc leaves the page showing through).
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Canvas.h"
#include "InkLayer.h"
#include "Nib.h"

namespace inkra::ink {

// Where text's shapes come from: the platform's font engine.
class GlyphSource {
 public:
  virtual ~GlyphSource() = default;
  struct TextShape {
    Outline glyphs;            // the characters' outlines, filled by the non-zero rule
    std::array<Vec2, 4> cell;  // the text cell's corners (turned with the text), for its background
  };
  // `text` (UTF-8) in `font`, its cell's top-left corner at (x, y), turned about that corner by
  // the font's escapement, as TextOut places it.
  virtual TextShape Shape(const Font& font, int x, int y, const std::string& text) = 0;
};

// A system colour's RGB value (0x00BBGGRR) for its index, as the platform gives it at the time.
using SystemColours = std::function<ColourValue(int index)>;

class InkCanvas final : public Canvas {
 public:
  // Not owned: the layer, and the glyph source (text is refused without one). Without
  // `systemColours`, a system colour is refused with std::invalid_argument.
  explicit InkCanvas(InkLayer& layer, GlyphSource* glyphs = nullptr, SystemColours systemColours = {})
      : layer_(layer), glyphs_(glyphs), systemColours_(std::move(systemColours)) {}

  int Width() const override { return layer_.Width(); }
  int Height() const override { return layer_.Height(); }
  void SetPenColour(ColourValue c) override { pen_ = c; }
  void SetBrushColour(ColourValue c) override { brush_ = c; }
  void SetFont(const Font& f) override { font_ = f; }
  void Polygon(std::span<const Point> points) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void SetPixel(int x, int y, ColourValue c) override;
  void TextOut(int x, int y, const std::string& text) override;

  // Told of every painting the canvas lays on the layer, as the layer is given it: a caller that
  // keeps what it drew as geometry.
  using PaintLog = std::function<void(std::span<const InkLayer::Part>)>;
  void LogPaints(PaintLog log) { log_ = std::move(log); }

  // Text on a turned cell: the glyphs are cut out of the cell and both painted side by side, as
  // the screen has always shown them; or, with this on, the cell is painted under the glyphs in
  // the same pass, which gives those pixels within rounding (where the edges of cell and glyph
  // cross one pixel) without cutting the outlines, most of the cost of a large character.
  void LayGlyphsOnCells(bool on) { glyphsOnCells_ = on; }

  // The pixels drawn on since the canvas was made.
  Rect Changed() const { return changed_; }

 private:
  // What a colour paints: ink of its RGB value, paper for white, nothing for clNone.
  struct Paint {
    bool draws = false;
    std::optional<Rgb> ink;
  };
  Paint Resolve(ColourValue c, ColourValue fallback) const;
  // The shape painted in the brush (or font) colour with the pen's shape laid over it in the pen
  // colour; the two are made disjoint first so their shared pixels take both shares (`over`
  // inside `under`, with glyphs laid on cells: in one pass, as an under part).
  void PaintPair(const Outline& under, ColourValue underColour, ColourValue underFallback, const Outline& over,
                 ColourValue overColour, ColourValue overFallback, bool overInside = false);

  // The last upright texts painted on whole pixels, with what painting each left in its cell: a
  // seal paints its sub-texts again after every character, and the same text in the same cell
  // leaves the same pixels whatever was under it, so a repeat is copied instead of painted.
  struct PaintedText {
    Font font;
    ColourValue brush = clNone;
    int x = 0, y = 0;
    std::string text;
    Rect cell, changed;
    std::vector<std::uint8_t> pixels;  // the cell's rows of dry ink
  };
  bool RepeatText(int x, int y, const std::string& text);
  void KeepText(int x, int y, const std::string& text, const Rect& cell, const Rect& glyphs, const Rect& changed);

  InkLayer& layer_;
  GlyphSource* glyphs_;
  static constexpr std::size_t kTextsKept = 4;
  std::vector<PaintedText> lastTexts_;
  SystemColours systemColours_;
  ColourValue pen_ = clBlack, brush_ = clWhite;
  bool glyphsOnCells_ = false;
  Font font_;
  Rect changed_;
  PaintLog log_;
};

// An ellipse inscribed in [x1, x2] x [y1, y2] as a polygon within the flatness of the curve.
OutlinePath EllipsePath(double x1, double y1, double x2, double y2);

}  // namespace inkra::ink
