#include "RecordingCanvas.h"

namespace inkra {

CanvasOp RecordingCanvas::Make(CanvasOp::Kind kind) const {
  CanvasOp op;
  op.kind = kind;
  op.pen = pen_;
  op.brush = brush_;
  op.font = font_;
  return op;
}

void RecordingCanvas::SetPenColour(ColourValue c) {
  pen_ = c;
  CanvasOp op = Make(CanvasOp::Kind::PenColour);
  op.colour = c;
  ops_.push_back(std::move(op));
}

void RecordingCanvas::SetBrushColour(ColourValue c) {
  brush_ = c;
  CanvasOp op = Make(CanvasOp::Kind::BrushColour);
  op.colour = c;
  ops_.push_back(std::move(op));
}

void RecordingCanvas::SetFont(const Font& f) {
  font_ = f;
  ops_.push_back(Make(CanvasOp::Kind::Font));
}

void RecordingCanvas::Polygon(std::span<const Point> points) {
  CanvasOp op = Make(CanvasOp::Kind::Polygon);
  op.points.assign(points.begin(), points.end());
  ops_.push_back(std::move(op));
}

void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  CanvasOp op = Make(CanvasOp::Kind::Ellipse);
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  ops_.push_back(std::move(op));
}

void RecordingCanvas::SetPixel(int x, int y, ColourValue c) {
  CanvasOp op = Make(CanvasOp::Kind::Pixel);
  op.x1 = x;
  op.y1 = y;
  op.colour = c;
  ops_.push_back(std::move(op));
}

void RecordingCanvas::TextOut(int x, int y, const std::string& text) {
  CanvasOp op = Make(CanvasOp::Kind::Text);
  op.x1 = x;
  op.y1 = y;
  op.text = text;
  ops_.push_back(std::move(op));
}

std::vector<CanvasOp> RecordingCanvas::OfKind(CanvasOp::Kind kind) const {
  std::vector<CanvasOp> found;
  for (const CanvasOp& op : ops_)
    if (op.kind == kind) found.push_back(op);
  return found;
}

std::vector<CanvasOp> RecordingCanvas::DrawingOps() const {
  std::vector<CanvasOp> found;
  for (const CanvasOp& op : ops_) {
    switch (op.kind) {
      case CanvasOp::Kind::Polygon:
      case CanvasOp::Kind::Ellipse:
      case CanvasOp::Kind::Pixel:
      case CanvasOp::Kind::Text:
        found.push_back(op);
        break;
      default:
        break;
    }
  }
  return found;
}

}  // namespace inkra
