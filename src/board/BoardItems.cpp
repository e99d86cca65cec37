#include "BoardItems.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "InkPen.h"

namespace inkra::board {
namespace {

ink::InkSample Scaled(ink::InkSample s, double scale) {
  s.x *= scale;
  s.y *= scale;
  return s;
}

// The mouse reports whole pixels, so each sample lies up to half a pixel off the line the hand
// drew, and the curve bends at every one of them: on screen that is below a pixel, on paper a
// regular lump per sample and a nib whose width wobbles with the bends. Each inner sample moves
// halfway towards the middle of its neighbours, by a quarter of a pixel at most: that takes out
// most of the rounding's kinks (a straight line's edge keeps within a board pixel's third of
// straight, against more than half unsmoothed), while a corner the hand made, many pixels deep,
// stays where it was and the picture still averages back to what the screen shows.
std::vector<ink::InkSample> Smoothed(const std::vector<ink::InkSample>& in) {
  constexpr double kMostMoved = 0.25;
  std::vector<ink::InkSample> out = in;
  for (std::size_t i = 1; i + 1 < in.size(); ++i) {
    double dx = ((in[i - 1].x + in[i + 1].x) / 2 - in[i].x) / 2, dy = ((in[i - 1].y + in[i + 1].y) / 2 - in[i].y) / 2;
    const double length = std::hypot(dx, dy);
    if (length > kMostMoved) dx *= kMostMoved / length, dy *= kMostMoved / length;
    out[i].x += dx, out[i].y += dy;
  }
  return out;
}

void DrawStroke(const StrokeItem& stroke, double scale, ink::InkLayer& layer) {
  if (stroke.samples.empty()) return;
  // At the board's scale the same calls the board's pen took, so the same pixels come out.
  // Larger, the samples are smoothed first: a stroke on paper does not show the mouse's rounding.
  const ScaledNib nib = NibAtScale(stroke.nibWidth, scale);
  const std::vector<ink::InkSample> samples = scale > 1 ? Smoothed(stroke.samples) : stroke.samples;
  ink::InkPen pen;
  pen.Down(layer, Scaled(samples.front(), scale), nib.width, stroke.colour, nib.pen);
  for (std::size_t i = 1; i < samples.size(); ++i) pen.Move(Scaled(samples[i], scale));
  pen.Finish();
  pen.Up();
}

ink::Outline ScaledOutline(const ink::Outline& outline, double scale) {
  ink::Outline out = outline;
  if (scale == 1) return out;
  for (ink::OutlinePath& path : out)
    for (ClipperLib::IntPoint& p : path)
      p = {ClipperLib::cInt(std::llround(double(p.X) * scale)), ClipperLib::cInt(std::llround(double(p.Y) * scale))};
  return out;
}

void DrawPaint(const PaintItem& item, double scale, ink::InkLayer& layer) {
  for (const std::vector<PaintItem::Part>& painting : item.paintings) {
    std::vector<ink::Outline> outlines;
    outlines.reserve(painting.size());
    for (const PaintItem::Part& part : painting) outlines.push_back(ScaledOutline(part.outline, scale));
    std::vector<ink::InkLayer::Part> parts;
    for (std::size_t i = 0; i < painting.size(); ++i) parts.push_back({&outlines[i], painting[i].colour});
    layer.Paint(parts);
  }
}

}  // namespace

// Rounded up: a side rounded down would carry fewer pixels per inch than the scale promises
// (602 pixels at 3.125 are 1881.25, and 1881 of them are under 300 to the inch at 96 dpi).
int ScaledLength(int length, double scale) { return std::max(1, int(std::ceil(double(length) * scale - 1e-6))); }

void DrawItem(const BoardItem& item, double scale, ink::InkLayer& layer) {
  if (const auto* stroke = std::get_if<StrokeItem>(&item)) return DrawStroke(*stroke, scale, layer);
  DrawPaint(std::get<PaintItem>(item), scale, layer);
}

std::unique_ptr<ink::InkLayer> ArtInk(const ScalableArt& art, double scale, int width, int height) {
  std::unique_ptr<ink::InkLayer> drawn = art.InkAt(scale);
  if (drawn && drawn->Width() == width && drawn->Height() == height) return drawn;
  auto layer = std::make_unique<ink::InkLayer>(width, height);
  if (!drawn) {
    LayBaseInk(art.DrawAt(scale), 1, *layer);
    return layer;
  }
  const ConstPixelRows from = std::as_const(*drawn).DryPixels();
  const PixelRows to = layer->DryPixels();
  for (int y = 0; y < std::min(from.height, to.height); ++y)
    std::memcpy(to.Row(y), from.Row(y), std::size_t(std::min(from.width, to.width)) * 4);
  return layer;
}

void LayBaseInk(const Bitmap& base, double scale, ink::InkLayer& layer) {
  if (base.BitsPerPixel() != 32 || base.Empty()) return;
  const PixelRows dry = layer.DryPixels();
  const Rect& clip = layer.Clip();
  const int w = std::min(clip.right, ScaledLength(base.Width(), scale));
  const int h = std::min(clip.bottom, ScaledLength(base.Height(), scale));
  if (scale == 1) {
    // Its own pixels: only the colour's order changes, and paper stays the layer's white.
    for (int y = clip.top; y < h; ++y) {
      const std::uint8_t* from = base.Row(y) + std::size_t(clip.left) * 4;
      std::uint8_t* to = dry.Row(y) + std::size_t(clip.left) * 4;
      for (int x = clip.left; x < w; ++x, from += 4, to += 4)
        if (from[3]) to[0] = from[2], to[1] = from[1], to[2] = from[0], to[3] = from[3];
    }
    return;
  }
  // Bilinear on colour weighted by alpha, so the paper's white round the ink bleeds into no edge.
  const auto axis = [&](int out, int limit, int& a, int& b, double& t) {
    const double at = std::clamp((out + 0.5) / scale - 0.5, 0.0, double(limit - 1));
    a = int(at);
    b = std::min(a + 1, limit - 1);
    t = at - a;
  };
  for (int y = clip.top; y < h; ++y) {
    int y0, y1;
    double ty;
    axis(y, base.Height(), y0, y1, ty);
    std::uint8_t* to = dry.Row(y) + std::size_t(clip.left) * 4;
    for (int x = clip.left; x < w; ++x, to += 4) {
      int x0, x1;
      double tx;
      axis(x, base.Width(), x0, x1, tx);
      const std::uint8_t* corner[4] = {base.Row(y0) + x0 * 4, base.Row(y0) + x1 * 4, base.Row(y1) + x0 * 4,
                                       base.Row(y1) + x1 * 4};
      const double weight[4] = {(1 - tx) * (1 - ty), tx * (1 - ty), (1 - tx) * ty, tx * ty};
      double alpha = 0, bgr[3] = {0, 0, 0};
      for (int i = 0; i < 4; ++i) {
        const double a = weight[i] * corner[i][3];
        alpha += a;
        for (int c = 0; c < 3; ++c) bgr[c] += a * corner[i][c];
      }
      if (alpha < 0.5) continue;  // no ink: the layer's transparent white stays
      to[0] = std::uint8_t(std::lround(bgr[2] / alpha));
      to[1] = std::uint8_t(std::lround(bgr[1] / alpha));
      to[2] = std::uint8_t(std::lround(bgr[0] / alpha));
      to[3] = std::uint8_t(std::lround(alpha));
    }
  }
}

}  // namespace inkra::board
