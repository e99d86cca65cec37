#include "MultiTWAIN.h"

#include "Win32TwainPlatform.h"

namespace inkra::twain {
namespace {

Session& TheSession() {
  static win::Win32TwainPlatform platform;
  static Session session(platform);
  return session;
}

}  // namespace

int TWAIN_SelectImageSource(HWND window) { return TheSession().SelectImageSource(window); }

HGLOBAL TWAIN_AcquireImages(HWND window, int pixelTypeMask) {
  return TheSession().AcquireImages(window, std::uint32_t(pixelTypeMask));
}

int TWAIN_ImageCount() { return TheSession().ImageCount(); }
HGLOBAL TWAIN_ImageAt(int index) { return TheSession().ImageAt(index); }
void TWAIN_FreeImage(HGLOBAL image) { TheSession().FreeImage(image); }
bool TWAIN_DrawToImage(HGLOBAL image, PictureControl& control) { return TheSession().DrawToImage(image, control); }
const Session& TWAIN_Session() { return TheSession(); }

}  // namespace inkra::twain
