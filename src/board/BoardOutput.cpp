// What leaves the board and what its view shows, made from its content: the picture in its own
// encoding, the PNG, and the picture with the ink composited over it.
#include "BoardOutput.h"

#include <algorithm>
#include <utility>

#include "Bmp.h"
#include "Errors.h"

namespace inkra::board {
namespace {

PixelRows RowsOf(Bitmap& b) { return {b.Pixels().data(), b.Stride(), b.Width(), b.Height(), b.BitsPerPixel()}; }

}  // namespace

bool CanWritePng(const PictureState& content) {
  if (content.kind == PictureKind::Jpeg) return true;
  return content.kind == PictureKind::Bitmap && InkableDepth(std::as_const(*content.surface).Pixels().bitsPerPixel);
}

void WritePicture(const PictureState& content, ByteSink& sink) {
  switch (content.kind) {
    case PictureKind::Jpeg: sink.Write(content.jpegBytes); return;
    case PictureKind::Bitmap:
      if (!content.ink) {
        content.surface->WriteBmp(sink);
      } else {
        Bitmap out = content.surface->ToBitmap();
        content.ink->ThresholdOnto(RowsOf(out), content.ink->Bounds());
        inkra::WriteBmp(out, sink);
      }
      return;
    case PictureKind::Empty: break;
  }
  throw PictureError("The board holds no picture");
}

void WritePng(const PictureState& content, ByteSink& sink) {
  if (content.kind == PictureKind::Jpeg) return sink.Write(content.jpegBytes);
  if (content.kind == PictureKind::Empty) throw PictureError("The board holds no picture");
  const ConstPixelRows below = std::as_const(*content.surface).Pixels();
  const int w = below.width, h = below.height, step = below.bitsPerPixel / 8;
  if (step != 3 && step != 4) throw PictureError("A palette picture is written as a BMP");
  const int channels = content.paper ? 4 : 3;
  PngRows inkRows;
  if (content.paper && content.ink) inkRows = content.ink->DryRgba();
  const auto whitePaper = [&](const std::uint8_t* b) { return content.paper && b[0] == 255 && b[1] == 255 && b[2] == 255; };
  const auto blankRow = [&](int y) {
    const std::uint8_t* b = below.Row(y);
    for (int x = 0; x < w; ++x, b += step)
      if (!whitePaper(b)) return false;
    return true;
  };
  // Plain paper with ink on it, the usual signature: the ink's own rows are the picture.
  if (inkRows.bits) {
    int y = 0;
    while (y < h && blankRow(y)) ++y;
    if (y == h) return inkra::WritePng(inkRows, sink);
  }
  std::vector<std::uint8_t> rgba(std::size_t(w) * std::size_t(h) * std::size_t(channels));
  // Composed one row at a time: a page-size photo is not copied twice more on its way out.
  std::vector<std::uint8_t> shown(std::size_t(w) * std::size_t(step));
  for (int y = 0; y < h; ++y) {
    Compose(content, {0, y, w, y + 1}, {shown.data(), shown.size(), w, 1, below.bitsPerPixel});
    const std::uint8_t* b = below.Row(y);
    const std::uint8_t* c = shown.data();
    std::uint8_t* o = rgba.data() + std::size_t(y) * std::size_t(w) * std::size_t(channels);
    for (int x = 0; x < w; ++x, b += step, c += step, o += channels) {
      if (whitePaper(b)) {
        // White paper: only the ink shows, with its own alpha.
        if (inkRows.bits) std::copy_n(inkRows.bits + std::size_t(y) * inkRows.stride + std::size_t(x) * 4, 4, o);
        else o[0] = o[1] = o[2] = 255, o[3] = 0;
        continue;
      }
      o[0] = c[2];
      o[1] = c[1];
      o[2] = c[0];
      if (channels == 4) o[3] = 255;
    }
  }
  inkra::WritePng({rgba.data(), std::size_t(w) * std::size_t(channels), w, h, channels}, sink);
}

Bitmap Composed(const PictureState& content) {
  Bitmap out = content.surface->ToBitmap();
  if (content.ink) content.ink->CompositeOnto(RowsOf(out), content.ink->Bounds());
  return out;
}

void Compose(const PictureState& content, const Rect& area, const PixelRows& out) {
  const ConstPixelRows picture = std::as_const(*content.surface).Pixels();
  for (int y = area.top; y < area.bottom; ++y)
    std::copy_n(picture.Row(y) + std::size_t(area.left) * std::size_t(picture.bitsPerPixel) / 8,
                (std::size_t(area.right - area.left) * std::size_t(picture.bitsPerPixel) + 7) / 8,
                out.Row(y - area.top));
  if (content.ink && InkableDepth(picture.bitsPerPixel)) content.ink->CompositeOnto(out, area.left, area.top, area);
}

Picture Snapshot(const PictureState& content) {
  switch (content.kind) {
    case PictureKind::Jpeg: return JpegPicture{content.jpegBytes, content.surface->ToBitmap()};
    case PictureKind::Bitmap: return Composed(content);
    case PictureKind::Empty: break;
  }
  return std::monostate{};
}

}  // namespace inkra::board
