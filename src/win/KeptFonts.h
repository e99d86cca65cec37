#pragma once
// Fonts made once per process and kept while the module is loaded. A window that opens again, or
// a second window with the same face and size, gets the same font at once, and the system keeps
// the glyphs it rendered from it, so the first paint does not lay them out again. Each size is
// kept per dpi: a window moved to a monitor of another dpi asks for, and gets, another font.
#include <windows.h>

namespace inkra::win {

// The font `lf` describes, made on first use. Not owned: never delete it; it is freed when the
// module unloads.
HFONT KeptFont(const LOGFONTW& lf);
// `base` `height` pixels high at 96 dpi (negative: character height), at `dpi`; as
// CreateFontAtDpi, but kept.
HFONT KeptFontAtDpi(LOGFONTW base, int height, int dpi);
// How many fonts are kept, for tests.
int KeptFontCount();

}  // namespace inkra::win
