#pragma once
// A canvas that draws nothing and remembers every call, with the pen, brush and font in force
// at that moment, so the layouts can be checked without a window or a device context.
#include <string>
#include <vector>

#include "Canvas.h"

namespace inkra {

struct CanvasOp {
  enum class Kind { PenColour, BrushColour, Font, Polygon, Ellipse, Pixel, Text };
  Kind kind = Kind::Pixel;
  std::vector<Point> points;       // Polygon: the vertices as given
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Ellipse: the rectangle; Pixel and Text: (x1, y1)
  ColourValue pen = 0, brush = 0;  // in force when the call was made (after it, for the setters)
  ColourValue colour = 0;          // Pixel: its colour; PenColour/BrushColour: the new colour
  Font font;                       // in force (Font: the new font)
  std::string text;                // Text: the UTF-8 text
  friend bool operator==(const CanvasOp&, const CanvasOp&) = default;
};

class RecordingCanvas final : public Canvas {
 public:
  // A fresh surface as the toolkit gives it: black pen, white brush, default font.
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void SetPenColour(ColourValue c) override;
  void SetBrushColour(ColourValue c) override;
  void SetFont(const Font& f) override;
  void Polygon(std::span<const Point> points) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void SetPixel(int x, int y, ColourValue c) override;
  void TextOut(int x, int y, const std::string& text) override;

  const std::vector<CanvasOp>& Ops() const { return ops_; }
  void Clear() { ops_.clear(); }

  // The drawing calls of one kind, in order (setters are left out of all of these).
  std::vector<CanvasOp> OfKind(CanvasOp::Kind kind) const;
  std::vector<CanvasOp> Texts() const { return OfKind(CanvasOp::Kind::Text); }
  std::vector<CanvasOp> Polygons() const { return OfKind(CanvasOp::Kind::Polygon); }
  std::vector<CanvasOp> Ellipses() const { return OfKind(CanvasOp::Kind::Ellipse); }
  std::vector<CanvasOp> Pixels() const { return OfKind(CanvasOp::Kind::Pixel); }
  // Drawing calls only: polygons, ellipses, pixels and texts.
  std::vector<CanvasOp> DrawingOps() const;

  ColourValue PenColour() const { return pen_; }
  ColourValue BrushColour() const { return brush_; }
  const Font& CurrentFont() const { return font_; }

 private:
  CanvasOp Make(CanvasOp::Kind kind) const;

  int width_, height_;
  ColourValue pen_ = clBlack, brush_ = clWhite;
  Font font_;
  std::vector<CanvasOp> ops_;
};

}  // namespace inkra
