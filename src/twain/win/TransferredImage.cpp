#include "TransferredImage.h"

#include <cstdint>
#include <new>
#include <vector>

namespace inkra::twain::win {
namespace {

bool IsDibSection(HANDLE image, DIBSECTION& section) {
  return GetObjectType(image) == OBJ_BITMAP && GetObjectW(image, sizeof section, &section) == sizeof section;
}

// A global block is read in place, locked while this lives.
class GlobalDib final : public ImageBytes {
 public:
  GlobalDib(HGLOBAL block, const std::uint8_t* bytes) : block_(block), bytes_(bytes, GlobalSize(block)) {}
  ~GlobalDib() override { GlobalUnlock(block_); }
  GlobalDib(const GlobalDib&) = delete;
  GlobalDib& operator=(const GlobalDib&) = delete;
  std::span<const std::uint8_t> Bytes() const override { return bytes_; }

 private:
  HGLOBAL block_;
  std::span<const std::uint8_t> bytes_;
};

// A DIB section is copied out through GDI, which knows its row order and colour table: its own
// header cannot be trusted for the order (Wine states a top-down section's height as positive).
class SectionCopy final : public ImageBytes {
 public:
  std::vector<std::uint8_t> bytes;
  std::span<const std::uint8_t> Bytes() const override { return bytes; }
};

std::unique_ptr<ImageBytes> CopySection(HBITMAP bitmap, const BITMAP& b) {
  const int bits = b.bmBitsPixel;
  if (b.bmWidth <= 0 || b.bmHeight <= 0 || bits <= 0 || bits > 32) return nullptr;
  const std::size_t entries = bits <= 8 ? std::size_t(1) << bits : 0;
  const std::uint64_t stride = (std::uint64_t(b.bmWidth) * std::uint64_t(bits) + 31) / 32 * 4;
  const std::uint64_t pixels = stride * std::uint64_t(b.bmHeight);
  const std::size_t tableEnd = sizeof(BITMAPINFOHEADER) + entries * sizeof(RGBQUAD);
  if (pixels > std::uint64_t(PTRDIFF_MAX) - tableEnd) return nullptr;
  auto copy = std::make_unique<SectionCopy>();
  try {
    copy->bytes.resize(tableEnd + std::size_t(pixels));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(copy->bytes.data());
  *header = {sizeof(BITMAPINFOHEADER), b.bmWidth, b.bmHeight, 1, WORD(bits), BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  const int lines = GetDIBits(screen, bitmap, 0, UINT(b.bmHeight), copy->bytes.data() + tableEnd,
                              reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != b.bmHeight) return nullptr;
  // GDI may state a shorter table than the one laid out; the pixels follow the whole one.
  header->biClrUsed = 0;
  return copy;
}

}  // namespace

bool IsTransferredImage(HANDLE image) {
  if (!image) return false;
  DIBSECTION section;
  if (GetObjectType(image) != 0) return IsDibSection(image, section);
  return GlobalSize(image) != 0;
}

std::unique_ptr<ImageBytes> ReadTransferredImage(HANDLE image) {
  if (!image) return nullptr;
  DIBSECTION section;
  if (GetObjectType(image) != 0)
    return IsDibSection(image, section) ? CopySection(static_cast<HBITMAP>(image), section.dsBm) : nullptr;
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(image));
  if (!bytes) return nullptr;
  return std::make_unique<GlobalDib>(image, bytes);
}

void FreeTransferredImage(HANDLE image) {
  if (!image) return;
  if (GetObjectType(image) == OBJ_BITMAP)
    DeleteObject(image);
  else if (GetObjectType(image) == 0 && GlobalSize(image) != 0)
    GlobalFree(image);
}

}  // namespace inkra::twain::win
