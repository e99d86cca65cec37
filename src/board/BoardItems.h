#pragma once
// What was drawn on the board's picture, kept as geometry beside the ink layer the view shows:
// each stroke as the samples its pen was fed, each time stamp as the shapes it painted. The ink
// layer stays the screen's copy; the items draw the same ink again at any scale, so what leaves
// the board for paper is drawn from geometry instead of stretched from screen pixels.
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "Bitmap.h"
#include "CentreLine.h"
#include "InkLayer.h"
#include "ScalableArt.h"

namespace inkra::board {

// A stroke as the board's pen drew it: the press, then every move, after the pen's tip when it
// was on (so the widths it gave are in the samples), with the nib's width in board pixels (the
// dpi already applied) and the ink's colour.
struct StrokeItem {
  std::vector<ink::InkSample> samples;
  double nibWidth = 0;
  ink::Rgb colour;
  // The board pixels its ink reached: drawing part of the ink again passes it by elsewhere.
  Rect bounds;
};

// Shapes painted onto the ink at once, in order (a time stamp: its box as paper, then its
// characters as ink), in board pixels on the outline grid.
struct PaintItem {
  struct Part {
    ink::Outline outline;
    std::optional<ink::Rgb> colour;  // none: paper, which takes the ink under it away
  };
  std::vector<std::vector<Part>> paintings;
  Rect bounds;  // as a stroke's
};

using BoardItem = std::variant<StrokeItem, PaintItem>;
inline const Rect& BoundsOf(const BoardItem& item) {
  return std::visit([](const auto& drawn) -> const Rect& { return drawn.bounds; }, item);
}
// Items are never changed once drawn: the picture and its history share them.
using ItemList = std::vector<std::shared_ptr<const BoardItem>>;

// The nib in the pixels of a picture drawn `scale` times the board's size. On the board the nib
// is a diagonal of `width` pixels outlined by a one-pixel square pen (see NibPoint). Away from
// 1:1 the whole shape is scaled: the diagonal is scale x width, and the "one pixel" of pen is one
// board pixel, so scale output pixels; a stroke then covers the same part of the paper at any
// scale, and averaging the scaled picture back down gives the board's coverage.
struct ScaledNib {
  double width = 0;
  double pen = 1;
};
inline ScaledNib NibAtScale(double width, double scale) { return {width * scale, scale}; }

// Draws one item onto `layer` at `scale` times its board geometry.
void DrawItem(const BoardItem& item, double scale, ink::InkLayer& layer);

// The ink a picture came with (a seal's colour and straight alpha, 32-bit rows as its hand-off
// file holds them) laid onto `layer` at `scale`, inside the layer's clip: copied at 1, resampled
// bilinear otherwise.
void LayBaseInk(const Bitmap& base, double scale, ink::InkLayer& layer);
// `art` drawn at `scale` as a new layer of width x height: its own ink where it has ink of that size,
// else its ink or its pixels laid into one (a side the art rounds otherwise is cut or left bare).
std::unique_ptr<ink::InkLayer> ArtInk(const ScalableArt& art, double scale, int width, int height);

// A side of `length` pixels at `scale`: rounded up, and at least one pixel.
int ScaledLength(int length, double scale);

}  // namespace inkra::board
