#pragma once
// Pictures a window shows, drawn at the window's dpi from a layout made for 96 dpi: more pixels
// with every line and character at the scaled size, never a small bitmap stretched.
#include <functional>
#include <memory>

#include "GdiCanvas.h"

namespace inkra::win {

// A width x height picture (96-dpi pixels) at `dpi`: ScaleToDpi(width) x ScaleToDpi(height)
// pixels, white, `draw` drawing on it in 96-dpi units with text sized for `dpi`.
std::unique_ptr<GdiCanvas> DrawPictureAtDpi(int width, int height, int bitsPerPixel, int dpi,
                                            const std::function<void(Canvas&)>& draw);

}  // namespace inkra::win
