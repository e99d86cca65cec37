#pragma once
// A generated page as a source hands it out: every pixel in the page's colour (palette images:
// entry 1 holds it), the top row black when the page is marked. As a packed DIB in moveable
// global memory, or as a DIB section of the same header and pixels.
#include <windows.h>

#include "FakeTwainScript.h"

namespace inkra::twain::fake {

HGLOBAL MakePageDib(const Page& page, int index);
HBITMAP MakePageBitmap(const Page& page, int index);

}  // namespace inkra::twain::fake
