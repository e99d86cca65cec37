#pragma once
// A generated page as a source hands it out: a packed DIB in moveable global memory, every
// pixel in the page's colour (palette images: entry 1 holds it).
#include <windows.h>

#include "FakeTwainScript.h"

namespace inkra::twain::fake {

HGLOBAL MakePageDib(const Page& page, int index);

}  // namespace inkra::twain::fake
