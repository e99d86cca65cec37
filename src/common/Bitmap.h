#pragma once
// A picture in memory at its own depth: 1, 4, 8 bits with a palette, 16 or 32 bits with
// channel masks, or 24 bits. Rows are stored top-down, each padded to 4 bytes as in a DIB,
// so a row can be handed to the platform or written to a file as it stands.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace inkra {

struct PaletteEntry {
  std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;  // RGBQUAD order
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// Limits on what the codecs accept, so a hostile header cannot make us allocate without bound.
constexpr int kMaxDimension = 30000;
constexpr std::size_t kMaxPixelBytes = std::size_t(1) << 30;  // 1 GiB

// True for the depths a Bitmap holds: 1, 4, 8, 16, 24, 32.
bool IsBitmapDepth(int bitsPerPixel);
// True when a picture of this size and depth fits kMaxDimension and kMaxPixelBytes.
bool WithinPictureLimits(long long width, long long height, int bitsPerPixel);
// The size and depth a picture file decodes to, as its headers say before any pixel is read.
struct PictureShape {
  long long width = 0, height = 0;  // as the header gives them; a BMP's height is positive here
  int bitsPerPixel = 24;
  // Bytes of the decoded rows, each padded to 4 bytes as a Bitmap's.
  std::uint64_t DecodedBytes() const {
    if (width <= 0 || height <= 0 || bitsPerPixel <= 0) return 0;
    return (std::uint64_t(width) * std::uint64_t(bitsPerPixel) + 31) / 32 * 4 * std::uint64_t(height);
  }
};
// The red, green, blue masks that the zero masks stand for: 5-5-5 at 16 bits, 8-8-8 at 32.
std::array<std::uint32_t, 3> DefaultMasks(int bitsPerPixel);
// Masks a 16- or 32-bit pixel can carry: each non-zero, contiguous, inside the pixel, no overlap.
bool ValidMasks(const std::array<std::uint32_t, 3>& masks, int bitsPerPixel);

class Bitmap {
 public:
  Bitmap() = default;
  // A white picture (palette index of white, or all bits set) of the given size and depth.
  // Palettes: black and white at 1 bit, the 16 VGA colours at 4, 256 greys at 8.
  // Throws PictureError for another depth or a size beyond the limits.
  Bitmap(int width, int height, int bitsPerPixel);
  // A picture that takes over rows already laid out as above (a reader that produced every byte
  // itself), so no white fill is paid for. Throws PictureError as above, or when the byte count
  // is not the rows' size.
  Bitmap(int width, int height, int bitsPerPixel, std::vector<std::uint8_t> pixels);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitsPerPixel() const { return bpp_; }
  std::size_t Stride() const { return stride_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  std::vector<PaletteEntry>& Palette() { return palette_; }
  const std::vector<PaletteEntry>& Palette() const { return palette_; }
  // Red, green, blue masks of 16- and 32-bit pixels; 0 in all three means the default layout
  // (5-5-5 for 16 bits, 8-8-8 for 32 bits).
  std::array<std::uint32_t, 3>& Masks() { return masks_; }
  const std::array<std::uint32_t, 3>& Masks() const { return masks_; }
  bool HasMasks() const { return masks_[0] | masks_[1] | masks_[2]; }

  std::uint8_t* Row(int y) { return pixels_.data() + std::size_t(y) * stride_; }
  const std::uint8_t* Row(int y) const { return pixels_.data() + std::size_t(y) * stride_; }
  std::vector<std::uint8_t>& Pixels() { return pixels_; }
  const std::vector<std::uint8_t>& Pixels() const { return pixels_; }

  // The colour of one pixel as 0x00BBGGRR, whatever the depth. A palette index past the end
  // of the palette reads as black; narrow mask channels widen by repeating their bits.
  std::uint32_t PixelRGB(int x, int y) const;
  // The whole picture as 8-bit R, G, B, A quadruples, top-down (alpha 255).
  std::vector<std::uint8_t> ToRGBA() const;

  static std::size_t StrideFor(int width, int bitsPerPixel) {
    return ((std::size_t(width) * std::size_t(bitsPerPixel) + 31) / 32) * 4;
  }

 private:
  void SetShape(int width, int height, int bitsPerPixel);  // checks, then size, depth, default palette

  int width_ = 0, height_ = 0, bpp_ = 24;
  std::size_t stride_ = 0;
  std::vector<PaletteEntry> palette_;
  std::array<std::uint32_t, 3> masks_{};
  std::vector<std::uint8_t> pixels_;
};

}  // namespace inkra
