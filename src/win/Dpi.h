#pragma once
// Screen resolution for our windows. Every layout of the product is drawn up in pixels at 96 dpi
// and scaled to the dpi of the window it is in, so a window has the same physical size and its
// text the same point size at 100 %, 150 % and 200 % display scaling.
//
// The windows are created per-monitor DPI aware whatever the host is: in a host that is not
// DPI aware, Windows would otherwise stretch a 96-dpi bitmap of them, blurring text, strokes and
// seals. The functions that need Windows 10 are looked up at run time, so the DLL still loads
// on older systems, where the screen's one dpi is used.
#include <windows.h>

#include "Handle.h"
#include "Numeric.h"

namespace inkra::win {

using inkra::kDesignDpi;
using inkra::ScaleToDpi;

// Puts the calling thread into per-monitor DPI awareness (version 2 where there is one) for
// its lifetime, and gives the thread back the awareness it had. Does nothing on systems
// without per-thread awareness.
class DpiAwareScope {
 public:
  DpiAwareScope();
  ~DpiAwareScope();
  DpiAwareScope(const DpiAwareScope&) = delete;
  DpiAwareScope& operator=(const DpiAwareScope&) = delete;

 private:
  HANDLE previous_ = nullptr;  // the thread's former DPI_AWARENESS_CONTEXT; null: not switched
};

// Gives the calling thread back, for its lifetime, the DPI awareness it had before the outermost
// DpiAwareScope that is open on it: windows that belong to others (a scanner's driver dialogs)
// are made the way the host thread makes its own, not in our per-monitor scope, which most of
// them are not written for. Does nothing when no DpiAwareScope is open.
class HostDpiScope {
 public:
  HostDpiScope();
  ~HostDpiScope();
  HostDpiScope(const HostDpiScope&) = delete;
  HostDpiScope& operator=(const HostDpiScope&) = delete;

 private:
  HANDLE previous_ = nullptr;  // the context to go back to; null: not switched
};

// The dpi `window` is drawn at: its monitor's for a per-monitor aware window, 96 for a window
// Windows scales, the screen's on systems without per-window dpi. A null window: the dpi a new
// window of the calling thread gets on the primary monitor.
int WindowDpi(HWND window);

// The outer size of a window whose client area is clientWidth x clientHeight, at `dpi`.
SIZE FrameSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);

// The face of a font with the GB2312 charset, so Chinese text renders in it.
LOGFONTW FaceFont(const wchar_t* face, LONG weight = FW_NORMAL, BYTE pitchAndFamily = DEFAULT_PITCH);

// A font `height` pixels high at 96 dpi (CreateFont's sign convention: negative = character
// height), at `dpi`. `base` gives the rest of the LOGFONT.
UniqueFont CreateFontAtDpi(LOGFONTW base, int height, int dpi);

}  // namespace inkra::win
