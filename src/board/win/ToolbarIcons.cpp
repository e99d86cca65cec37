#include "ToolbarIcons.h"

#include <map>

namespace inkra::board::win {
namespace {

// A BMP file's pixels as a device-dependent bitmap.
HBITMAP BitmapFromFile(std::span<const std::uint8_t> file) {
  if (file.size() < 14 + sizeof(BITMAPINFOHEADER)) return nullptr;
  const std::uint32_t offset = file[10] | (file[11] << 8) | (file[12] << 16) | (std::uint32_t(file[13]) << 24);
  if (offset >= file.size()) return nullptr;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + 14);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, file.data() + offset, info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

constexpr COLORREF kSeeThrough = RGB(255, 0, 255);

// One strip's icons as the image list keeps them: the pixels with the see-through ones black,
// and a mask that is 1 where the button shows through.
struct KeptStrip {
  HIMAGELIST list = nullptr;
  HDC pixels = nullptr, mask = nullptr;
  HBITMAP pixelBitmap = nullptr, maskBitmap = nullptr;
  HGDIOBJ oldPixels = nullptr, oldMask = nullptr;

  KeptStrip(std::span<const std::uint8_t> file, int cellSize) {
    // The image list blackens what it is given where it sees through: it gets a copy.
    list = ImageList_Create(cellSize, cellSize, ILC_COLOR24 | ILC_MASK, 9, 0);
    if (HBITMAP forList = BitmapFromFile(file)) {
      if (list) ImageList_AddMasked(list, forList, kSeeThrough);
      DeleteObject(forList);
    }
    pixelBitmap = BitmapFromFile(file);
    if (!pixelBitmap) return;
    BITMAP size{};
    GetObjectW(pixelBitmap, sizeof size, &size);
    pixels = CreateCompatibleDC(nullptr);
    mask = CreateCompatibleDC(nullptr);
    maskBitmap = CreateBitmap(size.bmWidth, size.bmHeight, 1, 1, nullptr);
    if (!pixels || !mask || !maskBitmap) return;
    oldPixels = SelectObject(pixels, pixelBitmap);
    oldMask = SelectObject(mask, maskBitmap);
    SetBkColor(pixels, kSeeThrough);
    BitBlt(mask, 0, 0, size.bmWidth, size.bmHeight, pixels, 0, 0, SRCCOPY);
    SetBkColor(pixels, RGB(255, 255, 255));
    SetTextColor(pixels, RGB(0, 0, 0));
    BitBlt(pixels, 0, 0, size.bmWidth, size.bmHeight, mask, 0, 0, 0x220326);  // not-source and
  }
  ~KeptStrip() {
    if (oldPixels) SelectObject(pixels, oldPixels);
    if (oldMask) SelectObject(mask, oldMask);
    if (pixels) DeleteDC(pixels);
    if (mask) DeleteDC(mask);
    if (pixelBitmap) DeleteObject(pixelBitmap);
    if (maskBitmap) DeleteObject(maskBitmap);
    if (list) ImageList_Destroy(list);
  }
  KeptStrip(const KeptStrip&) = delete;
  KeptStrip& operator=(const KeptStrip&) = delete;
  bool Drawable() const { return oldPixels && oldMask; }
};

const KeptStrip& StripFor(const ToolbarStrips& strips, bool disabled) {
  static std::map<std::pair<int, bool>, KeptStrip> kept;
  const auto key = std::make_pair(strips.cellSize, disabled);
  auto found = kept.find(key);
  if (found == kept.end())
    found = kept.try_emplace(key, disabled ? strips.disabled : strips.normal, strips.cellSize).first;
  return found->second;
}

}  // namespace

HIMAGELIST ToolbarImageList(const ToolbarStrips& strips, bool disabled) { return StripFor(strips, disabled).list; }

void DrawToolbarIcon(HDC dc, const ToolbarStrips& strips, int index, int x, int y, bool disabled) {
  const KeptStrip& strip = StripFor(strips, disabled);
  if (!strip.Drawable()) return;
  const int size = strips.cellSize;
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0)), back = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, size, size, strip.mask, index * size, 0, SRCAND);
  BitBlt(dc, x, y, size, size, strip.pixels, index * size, 0, SRCPAINT);
  SetBkColor(dc, back);
  SetTextColor(dc, text);
}

}  // namespace inkra::board::win
