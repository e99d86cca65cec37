#pragma once
// What the clipboard holds, read as a user's paste would find it.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace inkra::test {

// What the clipboard offers in `format` (a packed DIB for CF_DIB); empty when there is none.
inline std::vector<std::uint8_t> ClipboardBytes(UINT format) {
  std::vector<std::uint8_t> dib;
  if (!OpenClipboard(nullptr)) return dib;
  if (HANDLE memory = GetClipboardData(format)) {
    if (const void* bytes = GlobalLock(memory)) {
      dib.resize(GlobalSize(memory));
      std::memcpy(dib.data(), bytes, dib.size());
      GlobalUnlock(memory);
    }
  }
  CloseClipboard();
  return dib;
}
inline std::vector<std::uint8_t> ClipboardDib() { return ClipboardBytes(CF_DIB); }
// The PNG file a PNG-aware paste finds, under the format name Office and browsers use.
inline std::vector<std::uint8_t> ClipboardPng() { return ClipboardBytes(RegisterClipboardFormatW(L"PNG")); }

// Its header, when there is a DIB.
inline bool ClipboardDibHeader(BITMAPINFOHEADER& header) {
  const std::vector<std::uint8_t> dib = ClipboardDib();
  if (dib.size() < sizeof header) return false;
  std::memcpy(&header, dib.data(), sizeof header);
  return true;
}

}  // namespace inkra::test
