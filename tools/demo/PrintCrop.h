#pragma once
// The README's print pictures: the same inch of an inserted signature or seal as a printer puts
// it on paper at 300 px per inch, once from the screen-resolution BMP an older Office receives and
// once from the print-resolution PNG that Office 2007 and later receive.
#include <cstdint>
#include <string>
#include <vector>

namespace inkra::demo {

// An inserted picture's file and where its shape lies on the page, in points.
struct PlacedPicture {
  std::vector<std::uint8_t> file;
  double left = 0, top = 0, width = 0;
};

// Writes a PNG: on the left an inch of the page from `screen` (a BMP) enlarged to 300 px per inch
// (bilinear, as a printer's driver scales a picture), a thin grey gap, on the right the same inch
// of the page from `print` (a PNG) at 1:1, both over white paper. The two pictures may cover
// different parts of the page (the whole board, or only its ink). The inch is the one of the
// print picture that holds the most ink, or its bottom middle one (a seal's code and the foot of
// its ring). False when either picture cannot be read or the file not written.
bool WritePrintComparison(const PlacedPicture& screen, const PlacedPicture& print, bool bottomMiddle,
                          const std::wstring& path);

}  // namespace inkra::demo
