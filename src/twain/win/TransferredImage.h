#pragma once
// The two kinds of handle a source's native transfer hands over: a packed DIB in global memory,
// as the standard has it, and a DIB-section bitmap, as some sources (Wine's camera source among
// them) make it with CreateDIBSection. Both are read as one packed DIB.
#include <windows.h>

#include <memory>

#include "TwainPlatform.h"

namespace inkra::twain::win {

bool IsTransferredImage(HANDLE image);
// Null when the handle is neither kind or cannot be read.
std::unique_ptr<ImageBytes> ReadTransferredImage(HANDLE image);
// DeleteObject for a bitmap, GlobalFree for a global block; anything else is left alone.
void FreeTransferredImage(HANDLE image);

}  // namespace inkra::twain::win
