#pragma once
// The clipboard, for a picture the user must not lose: what a host refused to take is put there,
// so that Ctrl+V in the document places it.
#include <windows.h>

#include <cstdint>
#include <span>

namespace inkra::win {

// Replaces the clipboard's contents with the picture of a picture file (a BMP, a JPEG or a PNG,
// as the board hands them over) as a device-independent bitmap (CF_DIB), which every Office
// version pastes; a PNG also goes as itself, under the registered format "PNG", alpha kept. owner: a window of ours, alive while the clipboard is open; never a host's window (a
// host that owns the clipboard would paste its own data). False when the file cannot be decoded
// or the clipboard stays busy; nothing is thrown.
// `screenPicture`, when given, is the same picture at the screen's pixels (the file drawn larger
// for paper): the bitmap is made of it, so a paste into an older program has the size it had.
bool PutPictureOnClipboard(HWND owner, std::span<const std::uint8_t> pictureFile,
                           std::span<const std::uint8_t> screenPicture = {}) noexcept;

}  // namespace inkra::win
