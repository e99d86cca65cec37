#include "PageDib.h"

#include <cstring>
#include <vector>

namespace inkra::twain::fake {
namespace {

std::size_t Entries(const Page& page) { return page.bits <= 8 ? std::size_t(1) << page.bits : 0; }
std::size_t Stride(const Page& page) { return (std::size_t(page.width) * page.bits + 31) / 32 * 4; }
int Rows(const Page& page) { return page.height < 0 ? -page.height : page.height; }

// The header and the colour table, at `bytes`.
void WriteHeader(const Page& page, int index, std::uint8_t* bytes) {
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(bytes);
  *header = {sizeof(BITMAPINFOHEADER), page.width, page.height, 1, WORD(page.bits), BI_RGB, 0, 0, 0, 0, 0};
  const std::uint32_t colour = PageColour(index);
  auto* table = reinterpret_cast<RGBQUAD*>(bytes + sizeof(BITMAPINFOHEADER));
  if (Entries(page)) table[1] = {BYTE(colour >> 16), BYTE(colour >> 8), BYTE(colour), 0};
}

// The rows at `pixels`, zeroed before.
void WritePixels(const Page& page, int index, std::uint8_t* pixels) {
  const std::uint32_t colour = PageColour(index);
  const std::uint8_t bgr[3] = {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour)};
  const int rows = Rows(page);
  for (int y = 0; y < rows; ++y) {
    const int fromTop = page.height < 0 ? y : rows - 1 - y;
    if (page.marked && fromTop == 0) continue;
    std::uint8_t* row = pixels + Stride(page) * y;
    for (int x = 0; x < page.width; ++x) {
      if (page.bits == 24 || page.bits == 32) std::memcpy(row + x * (page.bits / 8), bgr, 3);
      else if (page.bits == 8) row[x] = 1;
    }
  }
}

}  // namespace

HGLOBAL MakePageDib(const Page& page, int index) {
  const std::size_t tableEnd = sizeof(BITMAPINFOHEADER) + Entries(page) * 4;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, tableEnd + Stride(page) * Rows(page));
  if (!block) return nullptr;
  auto* bytes = static_cast<std::uint8_t*>(GlobalLock(block));
  WriteHeader(page, index, bytes);
  WritePixels(page, index, bytes + tableEnd);
  GlobalUnlock(block);
  return block;
}

HBITMAP MakePageBitmap(const Page& page, int index) {
  std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + Entries(page) * 4);
  WriteHeader(page, index, info.data());
  void* bits = nullptr;
  HBITMAP bitmap =
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return bitmap;
  std::memset(bits, 0, Stride(page) * Rows(page));
  WritePixels(page, index, static_cast<std::uint8_t*>(bits));
  GdiFlush();
  return bitmap;
}

}  // namespace inkra::twain::fake
