#pragma once
// The drawing surface the board and the seals draw on. It holds the operations those windows
// need and nothing more; the GDI implementation lives in src/win, a recording one in tests.
#include <span>
#include <string>

#include "Colour.h"

namespace inkra {

struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Font {
  std::string face = "MS Sans Serif";     // the surface's default face
  int sizePoints = 8;                     // character height = MulDiv(size, dpi, 72) pixels
  bool bold = false;
  ColourValue colour = clWindowText;      // the surface's default text colour
  int escapement = 0;                     // tenths of a degree, counterclockwise; also the orientation
  int widthPercent = 100;                 // the face's own width; less gives a narrow face
  friend bool operator==(const Font&, const Font&) = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // Pen: solid, 1 pixel. Brush: solid fill, also the opaque background of text.
  // A fresh surface has a black pen, a white brush and Font{}. clNone draws nothing (a brush of
  // clNone leaves text transparent); clDefault stands for the surface's own default colour.
  virtual void SetPenColour(ColourValue c) = 0;
  virtual void SetBrushColour(ColourValue c) = 0;
  virtual void SetFont(const Font& f) = 0;

  // Filled with the brush, outlined with the pen (GDI Polygon semantics, alternate fill).
  virtual void Polygon(std::span<const Point> points) = 0;
  // Inscribed in (x1, y1)-(x2, y2), right and bottom edges excluded; outlined and filled.
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void SetPixel(int x, int y, ColourValue c) = 0;
  // Top-left of the text cell at (x, y); cell filled with the brush first; a turned font
  // turns the whole cell about (x, y). Text is UTF-8.
  virtual void TextOut(int x, int y, const std::string& text) = 0;
};

}  // namespace inkra
