#include "PrintOutput.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include "BoardOutput.h"
#include "Errors.h"
#include "Png.h"

namespace inkra::board {
namespace {

// Where each output column or row takes its two source pixels and the second one's weight, for
// bilinear resampling by pixel centres.
struct Tap {
  int a = 0, b = 0;
  std::uint16_t t = 0;  // 0..256
};
std::vector<Tap> Taps(int outSize, int inSize, double scale) {
  std::vector<Tap> taps(static_cast<std::size_t>(outSize));
  for (int i = 0; i < outSize; ++i) {
    const double at = std::clamp((i + 0.5) / scale - 0.5, 0.0, double(inSize - 1));
    const int a = int(at);
    taps[std::size_t(i)] = {a, std::min(a + 1, inSize - 1), std::uint16_t(std::lround((at - a) * 256))};
  }
  return taps;
}

// One output row of the picture resampled at its own depth (24 or 32 bits; the fourth byte is
// carried along).
void ResampleRow(const ConstPixelRows& in, const std::vector<Tap>& across, const Tap& down, std::uint8_t* out) {
  const int step = in.bitsPerPixel / 8;
  const std::uint8_t* r0 = in.Row(down.a);
  const std::uint8_t* r1 = in.Row(down.b);
  const unsigned ty = down.t;
  for (const Tap& tap : across) {
    const unsigned tx = tap.t;
    const std::uint8_t *p00 = r0 + tap.a * step, *p01 = r0 + tap.b * step, *p10 = r1 + tap.a * step,
                       *p11 = r1 + tap.b * step;
    for (int c = 0; c < step; ++c, ++out) {
      const unsigned top = p00[c] * (256 - tx) + p01[c] * tx, bottom = p10[c] * (256 - tx) + p11[c] * tx;
      *out = std::uint8_t((top * (256 - ty) + bottom * ty + 32768) >> 16);
    }
  }
}

bool AllWhite(const ConstPixelRows& rows) {
  const int step = rows.bitsPerPixel / 8;
  for (int y = 0; y < rows.height; ++y) {
    const std::uint8_t* b = rows.Row(y);
    for (int x = 0; x < rows.width; ++x, b += step)
      if (b[0] != 255 || b[1] != 255 || b[2] != 255) return false;
  }
  return true;
}

// Whether two rows hold the same bytes: most rows of a signature are paper, and a row found equal
// to the one before costs the PNG writer almost nothing.
bool SameBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t n) { return std::memcmp(a, b, n) == 0; }

}  // namespace

double PrintScale(Size picture, int dpi) {
  if (dpi <= 0 || picture.width <= 0 || picture.height <= 0) return 1;
  const auto fits = [&](double s) {
    const Size out = ScaledSize(picture, s);
    return double(out.width) * double(out.height) * 4 <= double(kMaxPictureBytes) &&
           WithinPictureLimits(out.width, out.height, 32);
  };
  // Whole output pixels to a board pixel: each board pixel is then exactly a square of them, so
  // on paper every pixel's ink lies where the screen shows it, and a box cut on the view's pixels
  // is whole output pixels too. Between whole scales an output pixel that an edge crosses
  // straddles two screen pixels and prints its ink over both, and a side rounded up to whole
  // pixels is stretched over its box.
  int whole = (kPrintPixelsPerInch + dpi - 1) / dpi;
  while (whole > 2 && !fits(whole)) --whole;
  if (whole >= 2 && fits(whole)) return whole;
  if (whole <= 1) return 1;
  // A picture too large for twice its size: the largest factor that fits still prints sharper
  // than the screen's own pixels, which is worth more than whole pixels. From the area's bound
  // down, in small steps past rounding.
  double scale = std::min(2.0, std::sqrt(double(kMaxPictureBytes) / 4 / (double(picture.width) * picture.height)));
  while (scale > 1 && !fits(scale)) scale = std::max(1.0, scale - 1.0 / 1024);
  return std::max(1.0, scale);
}

std::unique_ptr<ink::InkLayer> RenderInk(const PictureState& content, double scale) {
  if (!content.surface) return nullptr;
  const Size out = ScaledSize({content.surface->Width(), content.surface->Height()}, scale);
  std::unique_ptr<ink::InkLayer> layer;
  if (content.art && scale != 1) {
    try {
      layer = ArtInk(*content.art, scale, out.width, out.height);
    } catch (const std::exception&) {
      // The art cannot be drawn this large: the pixels it was handed over as serve, resampled.
    }
  }
  const bool based = layer != nullptr;
  if (!based) layer = std::make_unique<ink::InkLayer>(out.width, out.height);
  if (!based && content.baseInk) LayBaseInk(*content.baseInk, scale, *layer);
  for (const auto& item : content.items) DrawItem(*item, scale, *layer);
  layer->ReleaseWet();  // drawn once and then only read: the strokes' working memory goes
  return layer;
}

void WritePngAt(const PictureState& content, double scale, ByteSink& sink) {
  if (scale == 1 || content.kind != PictureKind::Bitmap) return WritePng(content, sink);
  const ConstPixelRows below = std::as_const(*content.surface).Pixels();
  const int step = below.bitsPerPixel / 8;
  if (step != 3 && step != 4) throw PictureError("A palette picture is written as a BMP");
  const std::unique_ptr<ink::InkLayer> ink = RenderInk(content, scale);
  const PngRows inkRows = ink->DryRgba();
  const int w = ink->Width(), h = ink->Height();
  // Plain paper with ink on it, the usual signature: the ink's own rows are the picture. Above
  // and below the ink every row is the same transparent white, repeated unread.
  if (content.paper && AllWhite(below)) {
    const Rect& inked = ink->Inked();
    const auto paper = [&](int y) { return y < inked.top || y >= inked.bottom; };
    PngWriter png(w, h, 4, sink);
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* row = inkRows.bits + std::size_t(y) * inkRows.stride;
      if (y > 0 && paper(y) && paper(y - 1)) png.Repeat(1);
      else if (y > 0 && SameBytes(row, row - inkRows.stride, std::size_t(w) * 4)) png.Repeat(1);
      else png.Row(row);
    }
    return png.Finish();
  }
  // Otherwise each row is composed, written and dropped: the picture at this size never exists
  // whole, only the ink does.
  const int channels = content.paper ? 4 : 3;
  const std::vector<Tap> across = Taps(w, below.width, scale), down = Taps(h, below.height, scale);
  const std::size_t rowBytes = std::size_t(w) * std::size_t(channels);
  std::vector<std::uint8_t> resampled(std::size_t(w) * std::size_t(step)), shown(resampled.size());
  std::vector<std::uint8_t> rows[2] = {std::vector<std::uint8_t>(rowBytes), std::vector<std::uint8_t>(rowBytes)};
  PngWriter png(w, h, channels, sink);
  for (int y = 0; y < h; ++y) {
    ResampleRow(below, across, down[std::size_t(y)], resampled.data());
    shown = resampled;
    ink->CompositeOnto({shown.data(), shown.size(), w, 1, below.bitsPerPixel}, 0, y, {0, y, w, y + 1});
    const std::uint8_t* b = resampled.data();
    const std::uint8_t* c = shown.data();
    std::uint8_t* o = rows[y % 2].data();
    for (int x = 0; x < w; ++x, b += step, c += step, o += channels) {
      if (content.paper && b[0] == 255 && b[1] == 255 && b[2] == 255) {
        // White paper: only the ink shows, with its own alpha.
        std::copy_n(inkRows.bits + std::size_t(y) * inkRows.stride + std::size_t(x) * 4, 4, o);
        continue;
      }
      o[0] = c[2], o[1] = c[1], o[2] = c[0];
      if (channels == 4) o[3] = 255;
    }
    if (y > 0 && SameBytes(rows[y % 2].data(), rows[1 - y % 2].data(), rowBytes)) png.Repeat(1);
    else png.Row(rows[y % 2].data());
  }
  png.Finish();
}

}  // namespace inkra::board
