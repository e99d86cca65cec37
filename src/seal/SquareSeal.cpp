#include "SquareSeal.h"

#include "ChineseText.h"

namespace inkra {

std::array<SquareSealCell, 4> SquareSealCells(const std::string& trimmedName, int nearCell, int farCell) {
  auto at = [&](std::size_t k) { return Utf8CharAt(trimmedName, k); };
  std::string third = at(2), fourth = at(3);
  return {{{{farCell, nearCell}, at(0)},
           {{farCell, farCell}, at(1)},
           {{nearCell, nearCell}, third.empty() ? "之" : third},
           {{nearCell, farCell}, fourth.empty() ? "印" : fourth}}};
}

void DrawSquareFrame(Canvas& canvas, ColourValue colour, int side, int b) {
  const int last = side - 1;
  for (int y = 0; y <= last; ++y) {
    for (int x = 0; x <= b + 1; ++x) canvas.SetPixel(x, y, colour);
    for (int x = last - b; x <= last; ++x) canvas.SetPixel(x, y, colour);
  }
  for (int x = 0; x <= last; ++x) {
    for (int y = 0; y <= b + 1; ++y) canvas.SetPixel(x, y, colour);
    for (int y = last - b; y <= last; ++y) canvas.SetPixel(x, y, colour);
  }
}

void DrawSquareSeal(Canvas& canvas, const SquareSealParams& p) {
  canvas.SetBrushColour(clWhite);
  DrawSquareFrame(canvas, p.colour, p.side, p.frame);
  Font f;
  f.face = p.face;
  f.sizePoints = p.points;
  f.bold = true;
  f.colour = p.colour;
  canvas.SetFont(f);
  for (const SquareSealCell& cell : SquareSealCells(TrimBlanks(p.name), p.nearCell, p.farCell))
    if (!cell.text.empty()) canvas.TextOut(cell.at.x, cell.at.y, cell.text);
}

}  // namespace inkra
