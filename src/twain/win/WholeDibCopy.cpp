#include "WholeDibCopy.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>

#include "Bitmap.h"

namespace inkra::twain::win {
namespace {

struct Rows {
  const std::uint8_t* source;  // 24-bit rows
  std::uint8_t* target;        // 32-bit rows
  std::ptrdiff_t sourceStep, targetStep;
  int width;
};

// B, G, R, then 0 in the fourth byte, as GDI writes a 24-bit pixel into a 32-bit one.
void CopyRows(const Rows& r, int from, int to) {
  for (int y = from; y < to; ++y) {
    const std::uint8_t* s = r.source + y * r.sourceStep;
    auto* t = reinterpret_cast<std::uint32_t*>(r.target + y * r.targetStep);
    for (int x = 0; x < r.width; ++x, s += 3)
      t[x] = std::uint32_t(s[0]) | std::uint32_t(s[1]) << 8 | std::uint32_t(s[2]) << 16;
  }
}

// Nothing on the DC moves or cuts what StretchDIBits would draw.
bool PlainDc(HDC dc) {
  POINT origin{};
  XFORM transform{};
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  const bool clipped = clip && GetClipRgn(dc, clip) != 0;
  if (clip) DeleteObject(clip);
  return !clipped && GetMapMode(dc) == MM_TEXT && GetGraphicsMode(dc) == GM_COMPATIBLE &&
         GetViewportOrgEx(dc, &origin) && origin.x == 0 && origin.y == 0 && GetWindowOrgEx(dc, &origin) &&
         origin.x == 0 && origin.y == 0 && GetWorldTransform(dc, &transform) && transform.eM11 == 1 &&
         transform.eM22 == 1 && transform.eM12 == 0 && transform.eM21 == 0 && transform.eDx == 0 &&
         transform.eDy == 0;
}

// Whether the section's first row in memory is the picture's top one. GetObject states a
// top-down section's height as positive under Wine, so one pixel drawn by GDI tells; the caller
// overwrites the whole picture after.
bool TopDown(HDC dc, const std::uint8_t* bits, std::ptrdiff_t stride, int height) {
  constexpr std::uint32_t kProbe = 0x00123456;
  auto first = [&](std::ptrdiff_t row) {
    std::uint32_t pixel;
    std::memcpy(&pixel, bits + row * stride, sizeof pixel);
    return pixel;
  };
  SetPixelV(dc, 0, 0, RGB(0x12, 0x34, 0x56));
  GdiFlush();
  return first(0) == kProbe || first(height - 1) != kProbe;
}

}  // namespace

bool CopyWholeRgbDib(HDC dc, const DibDraw& d) {
  const auto* info = static_cast<const BITMAPINFOHEADER*>(d.header);
  if (!info || !d.bits || info->biSize < sizeof(BITMAPINFOHEADER) || info->biBitCount != 24 ||
      info->biCompression != BI_RGB || d.x || d.y || d.sourceX || d.sourceY || d.width != info->biWidth ||
      d.height != std::abs(info->biHeight) || d.width <= 0 || d.height <= 0)
    return false;
  DIBSECTION section{};
  HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
  if (!bitmap || GetObjectW(bitmap, sizeof section, &section) != sizeof section || !section.dsBm.bmBits ||
      section.dsBmih.biBitCount != 32 || section.dsBmih.biCompression != BI_RGB ||
      section.dsBmih.biWidth != d.width || std::abs(section.dsBmih.biHeight) != d.height || !PlainDc(dc))
    return false;
  GdiFlush();  // GDI's own drawing on the section lands before ours

  // Row y of the picture, top first, in either DIB's row order.
  const auto sourceStride = std::ptrdiff_t(Bitmap::StrideFor(d.width, 24));
  const auto targetStride = std::ptrdiff_t(Bitmap::StrideFor(d.width, 32));
  const auto* source = static_cast<const std::uint8_t*>(d.bits);
  auto* target = static_cast<std::uint8_t*>(section.dsBm.bmBits);
  Rows rows{source, target, sourceStride, targetStride, d.width};
  if (info->biHeight > 0) rows.source += (d.height - 1) * sourceStride, rows.sourceStep = -sourceStride;
  if (!TopDown(dc, target, targetStride, d.height))
    rows.target += (d.height - 1) * targetStride, rows.targetStep = -targetStride;

  const int half = d.height / 2;
  std::thread bottom;
  try {
    bottom = std::thread([&rows, half, height = d.height] { CopyRows(rows, half, height); });
  } catch (const std::system_error&) {
    CopyRows(rows, half, d.height);
  }
  CopyRows(rows, 0, half);
  if (bottom.joinable()) bottom.join();
  return true;
}

}  // namespace inkra::twain::win
