#include "Clipboard.h"

#include <cstring>
#include <vector>

#include "Bmp.h"
#include "ByteSink.h"
#include "Handle.h"
#include "Jpeg.h"

namespace inkra::win {
namespace {

constexpr std::size_t kBmpFileHeaderSize = 14;
// Another program may hold the clipboard for a moment (a clipboard viewer, a remote desktop);
// a few short tries, never an open-ended wait on it.
constexpr int kOpenTries = 10;
constexpr DWORD kOpenPauseMs = 20;

// The picture as a packed DIB: a BMP file without its file header.
std::vector<std::uint8_t> PackedDibOf(std::span<const std::uint8_t> pictureFile) {
  VectorSink bmp;
  if (LooksLikeJpeg(pictureFile))
    WriteBmp(DecodeJpeg(pictureFile).decoded, bmp);
  else
    WriteBmp(ReadBmp(pictureFile), bmp);
  return std::vector<std::uint8_t>(bmp.data.begin() + kBmpFileHeaderSize, bmp.data.end());
}

bool OpenClipboardSoon(HWND owner) {
  for (int i = 0; i < kOpenTries; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(kOpenPauseMs);
  }
  return false;
}

struct ClipboardCloser {
  ~ClipboardCloser() { CloseClipboard(); }
};

}  // namespace

bool PutPictureOnClipboard(HWND owner, std::span<const std::uint8_t> pictureFile) noexcept {
  try {
    const std::vector<std::uint8_t> dib = PackedDibOf(pictureFile);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, dib.size()));
    if (!memory) return false;
    void* bytes = GlobalLock(memory.get());
    if (!bytes) return false;
    std::memcpy(bytes, dib.data(), dib.size());
    GlobalUnlock(memory.get());

    if (!OpenClipboardSoon(owner)) return false;
    ClipboardCloser closer;
    if (!EmptyClipboard()) return false;
    if (!SetClipboardData(CF_DIB, memory.get())) return false;
    (void)memory.release();  // the clipboard owns it now
    return true;
  } catch (...) {
    return false;  // an undecodable file or no memory: the caller says the picture is not there
  }
}

}  // namespace inkra::win
