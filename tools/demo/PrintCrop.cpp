#include "PrintCrop.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <tuple>
#include <utility>

#include "Bitmap.h"
#include "Bmp.h"
#include "ByteSink.h"
#include "Png.h"

namespace inkra::demo {
namespace {

constexpr int kGap = 6;               // output pixels of grey between the two halves
constexpr std::uint8_t kGapGrey = 0xB0;
constexpr int kCell = 10;             // the search for the inkiest inch moves by this many pixels

struct Rgb {
  double r, g, b;
};

// One pixel of the print PNG laid on white paper.
Rgb OnPaper(const PngImage& png, int x, int y) {
  const std::uint8_t* p = &png.pixels[(std::size_t(y) * png.width + x) * png.channels];
  const double a = png.channels == 4 ? p[3] / 255.0 : 1.0;
  return {255 - a * (255 - p[0]), 255 - a * (255 - p[1]), 255 - a * (255 - p[2])};
}

// The screen picture at a point between its pixel centres, blended from the four around it.
Rgb Bilinear(const Bitmap& bmp, double x, double y) {
  x = std::clamp(x, 0.0, bmp.Width() - 1.0), y = std::clamp(y, 0.0, bmp.Height() - 1.0);
  const int x0 = int(x), y0 = int(y);
  const int x1 = std::min(x0 + 1, bmp.Width() - 1), y1 = std::min(y0 + 1, bmp.Height() - 1);
  const double fx = x - x0, fy = y - y0;
  Rgb out{0, 0, 0};
  for (const auto& [px, py, w] : {std::tuple{x0, y0, (1 - fx) * (1 - fy)}, std::tuple{x1, y0, fx * (1 - fy)},
                                  std::tuple{x0, y1, (1 - fx) * fy}, std::tuple{x1, y1, fx * fy}}) {
    const std::uint32_t c = bmp.PixelRGB(px, py);  // 0x00BBGGRR
    out.r += w * (c & 0xFF), out.g += w * ((c >> 8) & 0xFF), out.b += w * ((c >> 16) & 0xFF);
  }
  return out;
}

// The top left corner of the side x side square of `png` that holds the most ink.
std::pair<int, int> InkiestSquare(const PngImage& png, int side) {
  const int cols = png.width / kCell, rows = png.height / kCell, span = side / kCell;
  std::vector<double> ink(std::size_t(cols) * rows);
  for (int y = 0; y < rows * kCell; ++y)
    for (int x = 0; x < cols * kCell; ++x) {
      const Rgb c = OnPaper(png, x, y);
      ink[std::size_t(y / kCell) * cols + x / kCell] += 765 - c.r - c.g - c.b;
    }
  double best = -1;
  std::pair<int, int> corner{0, 0};
  for (int cy = 0; cy + span <= rows; ++cy)
    for (int cx = 0; cx + span <= cols; ++cx) {
      double sum = 0;
      for (int j = 0; j < span; ++j)
        for (int i = 0; i < span; ++i) sum += ink[std::size_t(cy + j) * cols + cx + i];
      if (sum > best) best = sum, corner = {cx * kCell, cy * kCell};
    }
  return corner;
}

std::uint8_t Byte(double v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

bool WritePrintComparison(const PlacedPicture& screen, const PlacedPicture& print, bool bottomMiddle,
                          const std::wstring& path) {
  try {
    const Bitmap bmp = ReadBmp(screen.file);
    const PngImage png = ReadPng(print.file);
    const double printPoints = print.width / png.width, screenPoints = screen.width / bmp.Width();
    // An inch of the page in the PNG's pixels (300 or more), at most the picture.
    const int side = std::min({int(std::lround(72.0 / printPoints)), png.width, png.height});
    const auto [left, top] =
        bottomMiddle ? std::pair{(png.width - side) / 2, png.height - side} : InkiestSquare(png, side);
    // A print pixel's centre on the page, then in the screen picture's pixels (whose centres
    // are at half pixels).
    const auto onScreen = [&](int p, double printOrigin, double screenOrigin) {
      return (printOrigin + (p + 0.5) * printPoints - screenOrigin) / screenPoints - 0.5;
    };
    const int width = 2 * side + kGap;
    std::vector<std::uint8_t> out(std::size_t(width) * side * 3, kGapGrey);
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        const int px = left + x, py = top + y;
        const Rgb soft = Bilinear(bmp, onScreen(px, print.left, screen.left), onScreen(py, print.top, screen.top));
        const Rgb sharp = OnPaper(png, px, py);
        std::uint8_t* l = &out[(std::size_t(y) * width + x) * 3];
        std::uint8_t* r = l + std::size_t(side + kGap) * 3;
        l[0] = Byte(soft.r), l[1] = Byte(soft.g), l[2] = Byte(soft.b);
        r[0] = Byte(sharp.r), r[1] = Byte(sharp.g), r[2] = Byte(sharp.b);
      }
    FileSink file(path);
    WritePng({out.data(), std::size_t(width) * 3, width, side, 3}, file);
    file.Close();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace inkra::demo
