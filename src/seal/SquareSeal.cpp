#include "SquareSeal.h"

#include "ChineseText.h"

namespace inkra {

std::array<SquareSealCell, 4> SquareSealCells(const std::string& trimmedName) {
  auto at = [&](std::size_t k) { return Utf8CharAt(trimmedName, k); };
  std::string third = at(2), fourth = at(3);
  return {{{{77, 12}, at(0)},
           {{77, 77}, at(1)},
           {{12, 12}, third.empty() ? "之" : third},
           {{12, 77}, fourth.empty() ? "印" : fourth}}};
}

void DrawSquareFrame(Canvas& canvas, ColourValue colour) {
  const int last = kSquareSealSide - 1, b = kSquareFrameB;
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
  DrawSquareFrame(canvas, p.colour);
  Font f;
  f.face = p.face;
  f.sizePoints = kSquareSealPoints;
  f.bold = true;
  f.colour = p.colour;
  canvas.SetFont(f);
  for (const SquareSealCell& cell : SquareSealCells(TrimBlanks(p.name)))
    if (!cell.text.empty()) canvas.TextOut(cell.at.x, cell.at.y, cell.text);
}

}  // namespace inkra
