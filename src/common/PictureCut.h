#pragma once
// Cutting the picture that leaves the board: the box no larger than the ink, and the vertical
// slices of a straddle seal. Both work on the encoded picture file, so they hold whatever the
// board wrote (PNG with alpha, BMP, JPEG) and the board itself is not involved.
#include <cstdint>
#include <span>
#include <vector>

#include "Bitmap.h"
#include "PixelRows.h"
#include "Png.h"

namespace inkra {

// A PNG cut down to its ink: `box` is where the kept pixels lay in the whole picture of
// `fullWidth` x `fullHeight`. When nothing was cut, `png` is empty and `box` the whole picture.
struct InkCrop {
  std::vector<std::uint8_t> png;
  Rect box;
  int fullWidth = 0, fullHeight = 0;
  bool Cut() const { return !png.empty(); }
};

// Ink on transparent paper (a PNG with alpha, some pixel not fully transparent) is cut to the
// bounding box of its visible pixels plus `margin` pixels on each side, kept inside the picture.
// An opaque picture (an opened file, a scan) or one without ink is left whole. Throws
// PictureError for a file that is not a valid PNG.
InkCrop CropPngToInk(std::span<const std::uint8_t> png, int margin = 2);

// A picture drawn at another resolution than the one its boxes are measured in (the board's view):
// where column or row `at` of a picture `from` pixels across lies in one `to` pixels across,
// rounded to the nearest, so neighbouring boxes still meet.
int PixelAt(int at, int from, int to);
// The part of a PNG that lies where `box` lies in a picture of fromWidth x fromHeight pixels,
// rounded outward, so it holds at least the box's share of the picture's pixels.
// Throws PictureError for a file that is not a valid PNG.
std::vector<std::uint8_t> CutPngAt(std::span<const std::uint8_t> png, const Rect& box, int fromWidth, int fromHeight);

// One straddle slice: the columns [x, x + width) of the picture, for page `page` (1-based).
struct Slice {
  int page = 0;
  int x = 0, width = 0;
  friend bool operator==(const Slice&, const Slice&) = default;
};

// The slices of a picture `pixelWidth` wide over `pages` pages: the pages are taken in groups of
// at most `maxPagesPerGroup` (at least one), as even as they can be, and each group gets the
// whole picture cut into equal slices, the last of a group taking the remainder. Empty for fewer
// than one page or a picture without columns.
std::vector<Slice> StraddleSlices(int pages, int pixelWidth, int maxPagesPerGroup);

// How many pages one picture may cover when no slice may be narrower than `minSlice`, in the
// same unit as `pictureWidth`: at least one.
int MaxPagesPerPicture(double pictureWidth, double minSlice);

// A picture file decoded once and cut into columns in the file's kind: PNG stays PNG (with its
// alpha), BMP stays BMP at its depth, JPEG becomes a 24-bit BMP (a slice cannot keep the
// original bytes). Throws PictureError for a file of another kind or columns outside it.
class PictureColumns {
 public:
  explicit PictureColumns(std::span<const std::uint8_t> file);
  int Width() const;
  std::vector<std::uint8_t> Cut(int x, int width) const;

 private:
  bool png_ = false;
  PngImage image_;
  Bitmap bitmap_;
};

}  // namespace inkra
