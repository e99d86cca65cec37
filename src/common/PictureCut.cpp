#include "PictureCut.h"

#include <algorithm>
#include <cstring>

#include "Bmp.h"
#include "ByteSink.h"
#include "Errors.h"
#include "Jpeg.h"

namespace inkra {
namespace {

bool IsPng(std::span<const std::uint8_t> file) {
  static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return file.size() >= sizeof kSignature && std::equal(std::begin(kSignature), std::end(kSignature), file.begin());
}

bool IsBmp(std::span<const std::uint8_t> file) { return file.size() >= 2 && file[0] == 'B' && file[1] == 'M'; }

std::vector<std::uint8_t> EncodePng(const PngImage& image, const Rect& area) {
  const std::size_t pixel = std::size_t(image.channels);
  const std::size_t stride = std::size_t(image.width) * pixel;
  VectorSink sink;
  WritePng({image.pixels.data() + std::size_t(area.top) * stride + std::size_t(area.left) * pixel, stride,
            area.right - area.left, area.bottom - area.top, image.channels},
           sink);
  return std::move(sink.data);
}

// The columns of a bitmap at any depth; sub-byte pixels are moved bit by bit.
Bitmap BitmapColumns(const Bitmap& picture, int x, int width) {
  Bitmap out(width, picture.Height(), picture.BitsPerPixel());
  out.Palette() = picture.Palette();
  out.Masks() = picture.Masks();
  const int bpp = picture.BitsPerPixel();
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint8_t* from = picture.Row(y);
    std::uint8_t* to = out.Row(y);
    if (bpp % 8 == 0) {
      std::memcpy(to, from + std::size_t(x) * std::size_t(bpp / 8), std::size_t(width) * std::size_t(bpp / 8));
      continue;
    }
    std::memset(to, 0, out.Stride());
    for (int i = 0; i < width * bpp; ++i) {
      const int bit = x * bpp + i;
      if (from[bit / 8] & (0x80 >> (bit % 8))) to[i / 8] |= std::uint8_t(0x80 >> (i % 8));
    }
  }
  return out;
}

}  // namespace

InkCrop CropPngToInk(std::span<const std::uint8_t> png, int margin) {
  const PngImage image = ReadPng(png);
  InkCrop crop{{}, {0, 0, image.width, image.height}, image.width, image.height};
  if (image.channels != 4) return crop;  // opaque: an opened or scanned picture goes in whole
  Rect ink;
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* alpha = image.pixels.data() + std::size_t(y) * std::size_t(image.width) * 4 + 3;
    int first = -1, last = -1;
    for (int x = 0; x < image.width; ++x, alpha += 4) {
      if (*alpha == 0) continue;
      if (first < 0) first = x;
      last = x;
    }
    if (first >= 0) ink = ink.Union({first, y, last + 1, y + 1});
  }
  if (ink.Empty()) return crop;  // a blank board goes in whole
  const Rect box = Rect{ink.left - margin, ink.top - margin, ink.right + margin, ink.bottom + margin}.Intersect(crop.box);
  if (box == crop.box) return crop;
  crop.png = EncodePng(image, box);
  crop.box = box;
  return crop;
}

int PixelAt(int at, int from, int to) {
  if (from <= 0 || from == to) return at;
  return int((std::int64_t(at) * to * 2 + from) / (std::int64_t(from) * 2));
}

std::vector<std::uint8_t> CutPngAt(std::span<const std::uint8_t> png, const Rect& box, int fromWidth, int fromHeight) {
  const PngImage image = ReadPng(png);
  // Cut outward: a box rounded to the nearest pixel can lose a column or a row, and the picture
  // then falls under the pixels per point it was drawn at.
  const auto out = [](int at, int from, int to, bool up) {
    if (from <= 0 || from == to) return at;
    const std::int64_t scaled = std::int64_t(at) * to;
    return int(up ? (scaled + from - 1) / from : scaled / from);
  };
  const Rect at = Rect{out(box.left, fromWidth, image.width, false), out(box.top, fromHeight, image.height, false),
                       out(box.right, fromWidth, image.width, true), out(box.bottom, fromHeight, image.height, true)}
                      .Intersect({0, 0, image.width, image.height});
  if (at.Empty()) throw PictureError("The box lies outside the picture");
  return EncodePng(image, at);
}

int MaxPagesPerPicture(double pictureWidth, double minSlice) {
  if (!(minSlice > 0) || !(pictureWidth >= minSlice)) return 1;
  const double pages = pictureWidth / minSlice;
  return pages >= 1e6 ? 1000000 : int(pages);
}

std::vector<Slice> StraddleSlices(int pages, int pixelWidth, int maxPagesPerGroup) {
  std::vector<Slice> slices;
  if (pages < 1 || pixelWidth < 1) return slices;
  // No slice without a column: a group has at most as many pages as the picture has columns.
  const int perGroup = std::clamp(maxPagesPerGroup, 1, pixelWidth);
  const int groups = (pages + perGroup - 1) / perGroup;
  int page = 1;
  for (int g = 0; g < groups; ++g) {
    // Even groups: the first `pages % groups` take one page more.
    const int count = pages / groups + (g < pages % groups ? 1 : 0);
    const int width = pixelWidth / count;
    for (int i = 0; i < count; ++i, ++page) {
      const int x = i * width;
      slices.push_back({page, x, i + 1 == count ? pixelWidth - x : width});
    }
  }
  return slices;
}

PictureColumns::PictureColumns(std::span<const std::uint8_t> file) : png_(IsPng(file)) {
  if (png_) {
    image_ = ReadPng(file);
    return;
  }
  if (IsBmp(file)) bitmap_ = ReadBmp(file);
  else if (LooksLikeJpeg(file)) bitmap_ = DecodeJpeg(file).decoded;
  else throw PictureError("The picture cannot be cut into slices");
}

int PictureColumns::Width() const { return png_ ? image_.width : bitmap_.Width(); }

std::vector<std::uint8_t> PictureColumns::Cut(int x, int width) const {
  if (x < 0 || width < 1 || x + width > Width()) throw PictureError("The slice lies outside the picture");
  if (png_) return EncodePng(image_, {x, 0, x + width, image_.height});
  VectorSink sink;
  WriteBmp(BitmapColumns(bitmap_, x, width), sink);
  return std::move(sink.data);
}

}  // namespace inkra
