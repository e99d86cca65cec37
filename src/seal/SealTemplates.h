#pragma once
// Seal templates: the sizes Chinese offices use, in millimetres on paper, turned into the
// dialogs' fields (pixels at 96 dpi, points). The seal then measures its size on paper at any
// display scaling, since the dialogs draw the 96-dpi layout at the board's dpi.
#include <string>
#include <vector>

#include "RoundSeal.h"
#include "SquareSeal.h"

namespace inkra {

// Millimetres on paper as pixels of the 96-dpi layout, and as points.
int MmToPixels(double mm);
int MmToPoints(double mm);

// The entries of the template lists, in order; entry 0, "自定义", is the classic defaults.
const std::vector<std::string>& RoundTemplateNames();
const std::vector<std::string>& SquareTemplateNames();
constexpr const char* kLastUsedEntry = "上次使用";

// The seal's size on paper, the ring's (the frame's) outer edge, in millimetres; 0 x 0 for
// "自定义".
struct SealSizeMm {
  double width = 0, height = 0;
};
SealSizeMm RoundTemplateSize(int index);
SealSizeMm SquareTemplateSize(int index);

// `current` with what template `index` sets: sizes, margin, ring, star, the texts' sizes,
// positions and faces, the sub-texts the template names. The main text, the colour, the code
// and the look stay the user's. Index 0 gives the classic defaults for those fields.
RoundSealParams ApplyRoundTemplate(int index, const RoundSealParams& current);
SquareSealParams ApplySquareTemplate(int index, const SquareSealParams& current);

// The oval seal's placeholder for the taxpayer number: 18 characters.
constexpr const char* kTaxNumberPlaceholder = "000000000000000000";

}  // namespace inkra
