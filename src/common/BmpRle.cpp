// Run-length decoding of BMP pixel data (BI_RLE8, BI_RLE4).
#include <algorithm>

#include "BmpFormat.h"

namespace inkra::bmp {
namespace {

class RleTarget {
 public:
  // Some writers (ImageMagick among them) encode whole padded rows, so runs may go on into the
  // row's padding; those pixels are dropped. Past the padding a run is refused.
  RleTarget(Bitmap& bitmap, bool rle4)
      : bitmap_(bitmap), rle4_(rle4), rowLimit_(int(bitmap.Stride() * (rle4 ? 2 : 1))) {}

  // Makes room for n more pixels in the current row, or refuses.
  void Reserve(int n) const {
    if (y_ >= bitmap_.Height()) throw PictureError("BMP run-length data runs past the end of the picture");
    if (n > rowLimit_ - x_) throw PictureError("BMP run-length data runs past the end of a row");
  }
  void Put(unsigned index) {
    if (x_ >= bitmap_.Width()) {
      ++x_;
      return;
    }
    std::uint8_t* row = bitmap_.Row(bitmap_.Height() - 1 - y_);  // the data runs bottom-up
    if (!rle4_) {
      row[x_] = std::uint8_t(index);
    } else {
      std::uint8_t& b = row[x_ >> 1];
      b = (x_ & 1) ? std::uint8_t((b & 0xF0) | (index & 0x0F)) : std::uint8_t((b & 0x0F) | (index << 4));
    }
    ++x_;
  }
  void EndOfLine() {
    x_ = 0;
    if (++y_ > bitmap_.Height()) throw PictureError("BMP run-length data runs past the end of the picture");
  }
  void Delta(int dx, int dy) {
    x_ += dx;
    y_ += dy;
    if (x_ > rowLimit_ || y_ > bitmap_.Height())
      throw PictureError("BMP run-length delta moves past the end of the picture");
  }

 private:
  Bitmap& bitmap_;
  bool rle4_;
  int rowLimit_;       // pixels in a row with its padding
  int x_ = 0, y_ = 0;  // y counts from the bottom row
};

}  // namespace

void DecodeRle(std::span<const std::uint8_t> data, Bitmap& bitmap, bool rle4) {
  RleTarget target(bitmap, rle4);
  std::size_t i = 0;
  auto next = [&]() -> std::uint8_t {
    if (i >= data.size()) throw PictureError("BMP file is truncated");
    return data[i++];
  };
  // Data that stops between two codes ends the picture as an end-of-bitmap code would: some
  // writers leave that code out.
  while (i < data.size()) {
    int count = next();
    std::uint8_t value = next();
    if (count > 0) {
      target.Reserve(count);
      for (int k = 0; k < count; ++k) target.Put(!rle4 ? value : (k & 1) ? value & 0x0F : value >> 4);
      continue;
    }
    switch (value) {
      case 0: target.EndOfLine(); break;
      case 1: return;
      case 2: {
        int dx = next();
        int dy = next();
        target.Delta(dx, dy);
        break;
      }
      default: {  // an absolute run of `value` pixels, padded to a 16-bit boundary
        int n = value;
        std::size_t bytes = rle4 ? (std::size_t(n) + 1) / 2 : std::size_t(n);
        if (bytes > data.size() - i) throw PictureError("BMP file is truncated");
        target.Reserve(n);
        for (int k = 0; k < n; ++k) {
          std::uint8_t b = data[i + (rle4 ? std::size_t(k) / 2 : std::size_t(k))];
          target.Put(!rle4 ? b : (k & 1) ? b & 0x0F : b >> 4);
        }
        i += bytes + (bytes & 1);
        i = std::min(i, data.size());
        break;
      }
    }
  }
}

}  // namespace inkra::bmp
