#include "Bitmap.h"

#include <algorithm>
#include <bit>
#include <string>

#include "Errors.h"

namespace inkra {
namespace {

struct Channel {
  std::uint32_t mask = 0;
  unsigned shift = 0, bits = 0;
};

Channel ChannelOf(std::uint32_t mask) {
  if (mask == 0) return {};
  unsigned low = unsigned(std::countr_zero(mask));
  return {mask, low, 32u - unsigned(std::countl_zero(mask)) - low};
}

// A channel value widened or narrowed to 8 bits; narrow values repeat their bits, so that the
// largest 5-bit value gives 255 and 16 gives 132.
std::uint8_t To8Bits(std::uint32_t value, unsigned bits) {
  if (bits == 0) return 0;
  if (bits >= 8) return std::uint8_t(value >> (bits - 8));
  std::uint32_t out = 0;
  int shift = 8;
  while (shift > 0) {
    shift -= int(bits);
    out |= shift >= 0 ? value << shift : value >> -shift;
  }
  return std::uint8_t(out);
}

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }

// Reads pixels of one bitmap as 0x00BBGGRR; set up once per picture.
class PixelReader {
 public:
  explicit PixelReader(const Bitmap& bitmap) : bitmap_(bitmap) {
    auto masks = bitmap.HasMasks() ? bitmap.Masks() : DefaultMasks(bitmap.BitsPerPixel());
    for (int i = 0; i < 3; ++i) channels_[i] = ChannelOf(masks[i]);
  }

  std::uint32_t operator()(const std::uint8_t* row, int x) const {
    switch (bitmap_.BitsPerPixel()) {
      case 1: return FromPalette((row[x >> 3] >> (7 - (x & 7))) & 1);
      case 4: return FromPalette((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
      case 8: return FromPalette(row[x]);
      case 16: return FromMasks(std::uint32_t(row[2 * x]) | std::uint32_t(row[2 * x + 1]) << 8);
      case 24: return Rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
      case 32: {
        const std::uint8_t* p = row + 4 * std::size_t(x);
        return FromMasks(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                         std::uint32_t(p[3]) << 24);
      }
      default: return 0;
    }
  }

 private:
  std::uint32_t FromPalette(unsigned index) const {
    const auto& palette = bitmap_.Palette();
    if (index >= palette.size()) return 0;
    const PaletteEntry& e = palette[index];
    return Rgb(e.red, e.green, e.blue);
  }
  std::uint32_t FromMasks(std::uint32_t pixel) const {
    std::uint32_t c[3];
    for (int i = 0; i < 3; ++i)
      c[i] = To8Bits((pixel & channels_[i].mask) >> channels_[i].shift, channels_[i].bits);
    return Rgb(c[0], c[1], c[2]);
  }

  const Bitmap& bitmap_;
  Channel channels_[3];
};

// The 16 colours of the VGA palette, in their usual order; 15 is white.
constexpr std::uint8_t kVga[16][3] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

std::vector<PaletteEntry> DefaultPalette(int bitsPerPixel) {
  std::vector<PaletteEntry> palette;
  if (bitsPerPixel == 1) {
    palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  } else if (bitsPerPixel == 4) {
    for (const auto& c : kVga) palette.push_back({c[2], c[1], c[0], 0});
  } else if (bitsPerPixel == 8) {
    for (int i = 0; i < 256; ++i) palette.push_back({std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0});
  }
  return palette;
}

}  // namespace

bool IsBitmapDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; }

bool WithinPictureLimits(long long width, long long height, int bpp) {
  if (width < 0 || height < 0 || width > kMaxDimension || height > kMaxDimension) return false;
  if (bpp <= 0 || bpp > 64) return false;
  return Bitmap::StrideFor(int(width), bpp) * std::size_t(height) <= kMaxPixelBytes;
}

std::array<std::uint32_t, 3> DefaultMasks(int bpp) {
  if (bpp == 16) return {0x7C00, 0x03E0, 0x001F};
  if (bpp == 32) return {0xFF0000, 0x00FF00, 0x0000FF};
  return {0, 0, 0};
}

bool ValidMasks(const std::array<std::uint32_t, 3>& masks, int bpp) {
  if (bpp != 16 && bpp != 32) return false;
  std::uint32_t seen = 0;
  for (std::uint32_t m : masks) {
    if (m == 0 || (seen & m) != 0) return false;
    if (bpp == 16 && m > 0xFFFF) return false;
    Channel c = ChannelOf(m);
    if (c.bits < 32 && (m >> c.shift) != (std::uint32_t(1) << c.bits) - 1) return false;  // a gap
    seen |= m;
  }
  return true;
}

Bitmap::Bitmap(int width, int height, int bitsPerPixel) {
  SetShape(width, height, bitsPerPixel);
  pixels_.assign(stride_ * std::size_t(height), 0xFF);
  // Row padding stays zero, as a file writer would leave it.
  std::size_t used = (std::size_t(width) * std::size_t(bitsPerPixel) + 7) / 8;
  if (used < stride_)
    for (int y = 0; y < height; ++y) std::fill(Row(y) + used, Row(y) + stride_, std::uint8_t(0));
}

Bitmap::Bitmap(int width, int height, int bitsPerPixel, std::vector<std::uint8_t> pixels) {
  SetShape(width, height, bitsPerPixel);
  if (pixels.size() != stride_ * std::size_t(height)) throw PictureError("Bitmap pixel buffer does not match its size");
  pixels_ = std::move(pixels);
}

void Bitmap::SetShape(int width, int height, int bitsPerPixel) {
  if (!IsBitmapDepth(bitsPerPixel))
    throw PictureError("Bitmap depth of " + std::to_string(bitsPerPixel) + " bits is not supported");
  if (!WithinPictureLimits(width, height, bitsPerPixel))
    throw PictureError("Picture width or height out of range (limit 30000 x 30000, 1 GiB)");
  width_ = width;
  height_ = height;
  bpp_ = bitsPerPixel;
  stride_ = StrideFor(width, bitsPerPixel);
  palette_ = DefaultPalette(bitsPerPixel);
}

std::uint32_t Bitmap::PixelRGB(int x, int y) const { return PixelReader(*this)(Row(y), x); }

std::vector<std::uint8_t> Bitmap::ToRGBA() const {
  std::vector<std::uint8_t> out(std::size_t(width_) * std::size_t(height_) * 4);
  PixelReader read(*this);
  std::uint8_t* p = out.data();
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* row = Row(y);
    for (int x = 0; x < width_; ++x) {
      std::uint32_t c = read(row, x);
      *p++ = std::uint8_t(c);
      *p++ = std::uint8_t(c >> 8);
      *p++ = std::uint8_t(c >> 16);
      *p++ = 255;
    }
  }
  return out;
}

}  // namespace inkra
