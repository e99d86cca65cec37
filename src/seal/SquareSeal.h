#pragma once
// The personal square seal: a frame and a name of two to four characters in a 2 x 2
// arrangement, read top to bottom and right to left, drawn onto any Canvas.
#include <array>
#include <string>

#include "Canvas.h"
#include "Colour.h"

namespace inkra {

struct SquareSealParams {
  std::string name = "李明华";   // eValue (trimmed before use)
  std::string face = "黑体";     // cbSignFont
  ColourValue colour = clRed;    // cbColor
};

constexpr int kSquareSealSide = 150;  // the picture: a 154 x 154 panel less its bevels
constexpr int kSquareFrameB = 4;      // frame parameter: bands of b + 2 (left, top) and b + 1
constexpr int kSquareSealPoints = 48;

struct SquareSealCell {
  Point at;
  std::string text;  // empty: the cell is not drawn
};

// The four cells in drawing order: top right, bottom right, top left ("之" when the name has
// no third character), bottom left ("印" when it has no fourth).
std::array<SquareSealCell, 4> SquareSealCells(const std::string& trimmedName);

// The canvas is a fresh white picture of kSquareSealSide x kSquareSealSide.
void DrawSquareFrame(Canvas& canvas, ColourValue colour);
void DrawSquareSeal(Canvas& canvas, const SquareSealParams& p);

}  // namespace inkra
