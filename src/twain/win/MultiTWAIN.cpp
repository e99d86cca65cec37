#include "MultiTWAIN.h"

#include "Dpi.h"
#include "Win32TwainPlatform.h"

namespace inkra::twain {
namespace {

Session& TheSession() {
  static win::Win32TwainPlatform platform;
  static Session session(platform);
  return session;
}

}  // namespace

// The manager's and the source's windows (the proxy, the selection dialog, the source's own
// dialog) are made in the host thread's own DPI awareness: most scanner drivers are not written
// for per-monitor awareness and come out tiny or clipped in it. Our windows that the event loop
// dispatches to keep theirs, as the system switches to a window's own awareness for its messages.
int TWAIN_SelectImageSource(HWND window) {
  inkra::win::HostDpiScope host;
  return TheSession().SelectImageSource(window);
}

HGLOBAL TWAIN_AcquireImages(HWND window, int pixelTypeMask, const std::function<void(bool)>& waiting) {
  inkra::win::HostDpiScope host;
  return TheSession().AcquireImages(window, std::uint32_t(pixelTypeMask), waiting);
}

void TWAIN_EndAcquisition() { TheSession().EndAcquisition(); }

int TWAIN_ImageCount() { return TheSession().ImageCount(); }
HGLOBAL TWAIN_ImageAt(int index) { return TheSession().ImageAt(index); }
void TWAIN_FreeImage(HGLOBAL image) { TheSession().FreeImage(image); }
bool TWAIN_DrawToImage(HGLOBAL image, PictureControl& control) { return TheSession().DrawToImage(image, control); }
const Session& TWAIN_Session() { return TheSession(); }

}  // namespace inkra::twain
