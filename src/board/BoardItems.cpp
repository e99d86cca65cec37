#include "BoardItems.h"

#include <algorithm>
#include <cmath>

#include "InkPen.h"

namespace inkra::board {
namespace {

ink::InkSample Scaled(ink::InkSample s, double scale) {
  s.x *= scale;
  s.y *= scale;
  return s;
}

void DrawStroke(const StrokeItem& stroke, double scale, ink::InkLayer& layer) {
  if (stroke.samples.empty()) return;
  // The same calls the board's pen took, so at scale 1 the same pixels come out.
  const ScaledNib nib = NibAtScale(stroke.nibWidth, scale);
  ink::InkPen pen;
  pen.Down(layer, Scaled(stroke.samples.front(), scale), nib.width, stroke.colour, nib.pen);
  for (std::size_t i = 1; i < stroke.samples.size(); ++i) pen.Move(Scaled(stroke.samples[i], scale));
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
// (1204 pixels at 1.5625 are 1881.25, and 1881 of them are under 300 to the inch at 192 dpi).
int ScaledLength(int length, double scale) { return std::max(1, int(std::ceil(double(length) * scale - 1e-6))); }

void DrawItem(const BoardItem& item, double scale, ink::InkLayer& layer) {
  if (const auto* stroke = std::get_if<StrokeItem>(&item)) return DrawStroke(*stroke, scale, layer);
  DrawPaint(std::get<PaintItem>(item), scale, layer);
}

void LayBaseInk(const Bitmap& base, double scale, ink::InkLayer& layer) {
  if (base.BitsPerPixel() != 32 || base.Empty()) return;
  const PixelRows dry = layer.DryPixels();
  const Rect& clip = layer.Clip();
  const int w = std::min(clip.right, ScaledLength(base.Width(), scale));
  const int h = std::min(clip.bottom, ScaledLength(base.Height(), scale));
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
    if (scale == 1) y0 = y1 = y, ty = 0;
    else axis(y, base.Height(), y0, y1, ty);
    std::uint8_t* to = dry.Row(y) + std::size_t(clip.left) * 4;
    for (int x = clip.left; x < w; ++x, to += 4) {
      int x0, x1;
      double tx;
      if (scale == 1) x0 = x1 = x, tx = 0;
      else axis(x, base.Width(), x0, x1, tx);
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
