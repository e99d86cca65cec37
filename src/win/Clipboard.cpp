#include "Clipboard.h"

#include <cstring>
#include <vector>

#include "Bmp.h"
#include "ByteSink.h"
#include "Handle.h"
#include "Jpeg.h"
#include "Png.h"

namespace inkra::win {
namespace {

constexpr std::size_t kBmpFileHeaderSize = 14;
// Another program may hold the clipboard for a moment (a clipboard viewer, a remote desktop);
// a few short tries, never an open-ended wait on it.
constexpr int kOpenTries = 10;
constexpr DWORD kOpenPauseMs = 20;

bool LooksLikePng(std::span<const std::uint8_t> file) {
  static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return file.size() >= sizeof kSignature && std::memcmp(file.data(), kSignature, sizeof kSignature) == 0;
}

// A PNG's pixels over white, for the programs that paste only a bitmap.
Bitmap OverWhite(const PngImage& png) {
  Bitmap out(png.width, png.height, 24);
  for (int y = 0; y < png.height; ++y) {
    const std::uint8_t* from = png.pixels.data() + std::size_t(y) * std::size_t(png.width) * std::size_t(png.channels);
    std::uint8_t* to = out.Row(y);
    for (int x = 0; x < png.width; ++x, from += png.channels, to += 3) {
      const unsigned a = png.channels == 4 ? from[3] : 255;
      for (int c = 0; c < 3; ++c) to[2 - c] = std::uint8_t((from[c] * a + 255 * (255 - a) + 127) / 255);
    }
  }
  return out;
}

// The picture as a packed DIB: a BMP file without its file header.
std::vector<std::uint8_t> PackedDibOf(std::span<const std::uint8_t> pictureFile) {
  VectorSink bmp;
  if (LooksLikeJpeg(pictureFile))
    WriteBmp(DecodeJpeg(pictureFile).decoded, bmp);
  else if (LooksLikePng(pictureFile))
    WriteBmp(OverWhite(ReadPng(pictureFile)), bmp);
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

UniqueGlobal GlobalCopy(std::span<const std::uint8_t> data) {
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, data.size()));
  if (!memory) return memory;
  void* bytes = GlobalLock(memory.get());
  if (!bytes) return UniqueGlobal();
  std::memcpy(bytes, data.data(), data.size());
  GlobalUnlock(memory.get());
  return memory;
}

}  // namespace

bool PutPictureOnClipboard(HWND owner, std::span<const std::uint8_t> pictureFile,
                           std::span<const std::uint8_t> screenPicture) noexcept {
  try {
    UniqueGlobal memory = GlobalCopy(PackedDibOf(screenPicture.empty() ? pictureFile : screenPicture));
    if (!memory) return false;
    // A PNG keeps its alpha for the programs that paste it ("PNG", as Office and browsers name
    // the format); the DIB beside it is the same picture over white.
    UniqueGlobal png;
    if (LooksLikePng(pictureFile)) png = GlobalCopy(pictureFile);

    if (!OpenClipboardSoon(owner)) return false;
    ClipboardCloser closer;
    if (!EmptyClipboard()) return false;
    if (!SetClipboardData(CF_DIB, memory.get())) return false;
    (void)memory.release();  // the clipboard owns it now
    const UINT pngFormat = RegisterClipboardFormatW(L"PNG");
    if (png && pngFormat && SetClipboardData(pngFormat, png.get())) (void)png.release();
    return true;
  } catch (...) {
    return false;  // an undecodable file or no memory: the caller says the picture is not there
  }
}

}  // namespace inkra::win
