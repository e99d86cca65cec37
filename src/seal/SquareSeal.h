#pragma once
// The personal square seal: a frame and a name of two to four characters in a 2 x 2
// arrangement, read top to bottom and right to left, drawn onto any Canvas.
#include <array>
#include <string>

#include "Canvas.h"
#include "Colour.h"

namespace inkra {

constexpr int kSquareSealSide = 150;  // the picture: a 154 x 154 panel less its bevels
constexpr int kSquareFrameB = 4;      // frame parameter: bands of b + 2 (left, top) and b + 1
constexpr int kSquareSealPoints = 48;

struct SquareSealParams {
  std::string name = "李明华";   // eValue (trimmed before use)
  std::string face = "黑体";     // cbSignFont
  ColourValue colour = clRed;    // cbColor
  // The seal's size; a template scales them together, the defaults are the classic 150 pixels.
  int side = kSquareSealSide;
  int frame = kSquareFrameB;
  int points = kSquareSealPoints;
  int nearCell = 12, farCell = 77;  // the cells' left (top) edges, first and second column (row)
  bool stampLook = false;
};

struct SquareSealCell {
  Point at;
  std::string text;  // empty: the cell is not drawn
};

// The four cells in drawing order: top right, bottom right, top left ("之" when the name has
// no third character), bottom left ("印" when it has no fourth).
std::array<SquareSealCell, 4> SquareSealCells(const std::string& trimmedName, int nearCell = 12,
                                              int farCell = 77);

// The canvas is a fresh white picture of side x side.
void DrawSquareFrame(Canvas& canvas, ColourValue colour, int side = kSquareSealSide,
                     int b = kSquareFrameB);
void DrawSquareSeal(Canvas& canvas, const SquareSealParams& p);

}  // namespace inkra
