#pragma once
// A canvas that takes drawing laid out for 96 dpi and draws it at another dpi on the canvas it
// wraps: every coordinate is multiplied by dpi / 96, a pixel becomes a block and the 1-pixel
// outline of an ellipse a ring of the scaled width, so a picture drawn through it is the 96-dpi
// picture at a larger size, sharp rather than stretched. Text keeps its point size: the wrapped
// canvas must size its fonts for the same dpi. At 96 dpi every call is passed on unchanged.
#include "Canvas.h"
#include "Numeric.h"

namespace inkra {

class ScaledCanvas final : public Canvas {
 public:
  // `target` is not owned and must outlive this canvas.
  ScaledCanvas(Canvas& target, int dpi) : target_(target), dpi_(dpi > 0 ? dpi : kDesignDpi) {}

  int Scale(int length) const { return ScaleToDpi(length, dpi_); }

  // The size in 96-dpi units.
  int Width() const override;
  int Height() const override;

  void SetPenColour(ColourValue c) override;
  void SetBrushColour(ColourValue c) override;
  void SetFont(const Font& f) override { target_.SetFont(f); }
  void Polygon(std::span<const Point> points) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void SetPixel(int x, int y, ColourValue c) override;
  void TextOut(int x, int y, const std::string& text) override;

 private:
  bool Unscaled() const { return dpi_ == kDesignDpi; }

  Canvas& target_;
  int dpi_;
  ColourValue pen_ = clBlack, brush_ = clWhite;  // as a fresh surface has them
};

}  // namespace inkra
