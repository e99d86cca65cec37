#pragma once
// A scan handed to the board is an uncompressed 24-bit DIB drawn whole onto a fresh 32-bit DIB
// section of its own size. GDI converts such a picture on one thread, which was most of the
// hand-off; this converts it in two bands at once, straight into the section's pixels.
#include <windows.h>

#include "TwainPlatform.h"

namespace inkra::twain::win {

// Draws `draw` onto the DIB section selected in `dc` when it is that case (nothing stretched or
// moved, no clipping or transform on the DC), with the pixels StretchDIBits would give; false,
// drawing nothing, otherwise.
bool CopyWholeRgbDib(HDC dc, const DibDraw& draw);

}  // namespace inkra::twain::win
