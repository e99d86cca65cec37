#pragma once
// The scanner module as the board uses it: one process-wide session over the Win32 platform.
// UI thread only; none of these may be called while an acquisition's event loop runs.
#include <windows.h>

#include <functional>

#include "TwainPlatform.h"
#include "TwainSession.h"

namespace inkra::twain {

// Nonzero when the user chose a source in the manager's dialog.
int TWAIN_SelectImageSource(HWND window);
// The last image of the acquisition, or null; the image list holds them all. `waiting` is told
// when the wait for the source begins (true) and ends (false).
HGLOBAL TWAIN_AcquireImages(HWND window, int pixelTypeMask, const std::function<void(bool)>& waiting = {});
// Ends a running acquisition after the message being dispatched; the source is taken down.
void TWAIN_EndAcquisition();
int TWAIN_ImageCount();
// An image as the source handed it over: a global DIB, or a DIB-section bitmap from some sources.
HGLOBAL TWAIN_ImageAt(int index);
void TWAIN_FreeImage(HGLOBAL image);
// The control's picture becomes a bitmap of the image's size holding the image; false when the
// image could not be drawn.
bool TWAIN_DrawToImage(HGLOBAL image, PictureControl& control);

// The process's session, for diagnosis (state, last error record).
const Session& TWAIN_Session();

}  // namespace inkra::twain
