#include "PageDib.h"

#include <cstring>

namespace inkra::twain::fake {

HGLOBAL MakePageDib(const Page& page, int index) {
  const int bits = page.bits, height = page.height < 0 ? -page.height : page.height;
  const std::size_t entries = bits <= 8 ? std::size_t(1) << bits : 0;
  const std::size_t stride = (std::size_t(page.width) * bits + 31) / 32 * 4;
  const std::size_t size = sizeof(BITMAPINFOHEADER) + entries * 4 + stride * height;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!block) return nullptr;
  auto* bytes = static_cast<std::uint8_t*>(GlobalLock(block));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(bytes);
  *header = {sizeof(BITMAPINFOHEADER), page.width, page.height, 1, WORD(bits), BI_RGB, 0, 0, 0, 0, 0};
  const std::uint32_t colour = PageColour(index);
  const std::uint8_t bgr[3] = {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour)};
  auto* table = reinterpret_cast<RGBQUAD*>(bytes + sizeof(BITMAPINFOHEADER));
  // Palette images use entry 1 for the page colour; true-colour ones store it in every pixel.
  if (entries) table[1] = {bgr[0], bgr[1], bgr[2], 0};
  std::uint8_t* pixels = bytes + sizeof(BITMAPINFOHEADER) + entries * 4;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = pixels + stride * y;
    for (int x = 0; x < page.width; ++x) {
      if (bits == 24 || bits == 32) std::memcpy(row + x * (bits / 8), bgr, 3);
      else if (bits == 8) row[x] = 1;
    }
  }
  GlobalUnlock(block);
  return block;
}

}  // namespace inkra::twain::fake
