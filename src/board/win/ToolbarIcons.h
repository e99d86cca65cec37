#pragma once
// The toolbar's icons, made once and kept while the module is loaded, as every board shows the
// same. The buttons draw them straight from memory bitmaps as they paint: an image list would
// make a bitmap like the screen's for each icon it draws, a round trip to the window server
// every time.
#include <windows.h>
#include <commctrl.h>

#include "ToolbarImages.h"

namespace inkra::board::win {

// The image list of `strips` (the disabled icons' when `disabled`). The toolbar is given it so
// that it lays its buttons out for icons of that size; it draws none of them itself.
HIMAGELIST ToolbarImageList(const ToolbarStrips& strips, bool disabled);

// Draws icon `index` of `strips` with its top-left corner at (x, y) on `dc`, the button showing
// through its magenta, as the image list would draw it.
void DrawToolbarIcon(HDC dc, const ToolbarStrips& strips, int index, int x, int y, bool disabled);

}  // namespace inkra::board::win
