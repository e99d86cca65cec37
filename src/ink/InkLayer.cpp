#include "InkLayer.h"

#include <algorithm>
#include <cstring>

#include "Bitmap.h"
#include "Errors.h"

namespace inkra::ink {
namespace {

constexpr std::uint8_t kWhite = 255;

std::uint8_t Mix(std::uint8_t from, std::uint8_t to, unsigned alpha) {
  return std::uint8_t((from * (255u - alpha) + to * alpha + 127u) / 255u);
}

}  // namespace

InkPixel Over(const InkPixel& below, Rgb colour, std::uint8_t cover) {
  if (cover == 0) return below;
  if (cover == 255 || below.coverage == 0) return {colour, cover};
  // Alpha times 255, before rounding: the weights of the two colours share it as denominator.
  const unsigned under = unsigned(below.coverage) * (255u - cover);
  const unsigned total = unsigned(cover) * 255u + under;
  const auto channel = [&](std::uint8_t top, std::uint8_t bottom) {
    return std::uint8_t((unsigned(top) * cover * 255u + unsigned(bottom) * under + total / 2) / total);
  };
  return {{channel(colour.r, below.colour.r), channel(colour.g, below.colour.g), channel(colour.b, below.colour.b)},
          std::uint8_t((total + 127u) / 255u)};
}

InkLayer::InkLayer(int width, int height) : width_(width), height_(height), clip_(Bounds()) {
  if (width <= 0 || height <= 0 || !WithinPictureLimits(width, height, 32))
    throw PictureError("The ink layer's size is beyond the picture limits");
  // One row of transparent white, then copied down over memory never cleared first: a layer at
  // print scale is millions of pixels, and every pass over them costs as much as drawing the ink.
  const std::size_t stride = std::size_t(width) * 4, size = stride * std::size_t(height);
  dry_ = std::make_unique_for_overwrite<std::uint8_t[]>(size);
  for (std::size_t i = 0; i < stride; i += 4) dry_[i] = dry_[i + 1] = dry_[i + 2] = kWhite, dry_[i + 3] = 0;
  for (std::size_t at = stride; at < size; at += stride) std::memcpy(&dry_[at], dry_.get(), stride);
}

namespace {

// `count` pixels wholly of `colour`, or bare paper: what the shares in PaintPixel come to for a
// pixel that parts of one colour cover whole.
void FillRun(std::uint8_t* p, int count, const std::optional<Rgb>& colour) {
  const std::uint8_t pixel[4] = {colour ? colour->r : kWhite, colour ? colour->g : kWhite, colour ? colour->b : kWhite,
                                 std::uint8_t(colour ? 255 : 0)};
  for (int i = 0; i < count; ++i, p += 4) std::memcpy(p, pixel, 4);
}

}  // namespace

unsigned InkLayer::Share(std::span<const Part> parts, std::size_t area, std::size_t at, std::size_t i) const {
  unsigned c = parts_[area * i + at];
  if (!parts[i].under || !c) return c;
  unsigned above = 0;
  for (std::size_t j = i + 1; j < parts.size(); ++j) above += parts_[area * j + at];
  return c > above ? c - above : 0;
}

void InkLayer::PaintPixel(std::span<const Part> parts, std::size_t area, std::size_t at, std::uint8_t* p) const {
  unsigned taken = 0;
  const Part* first = nullptr;
  bool oneColour = true;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const unsigned c = Share(parts, area, at, i);
    if (!c) continue;
    taken += c;
    if (!first) first = &parts[i];
    else oneColour = oneColour && parts[i].colour == first->colour;
  }
  if (!taken) return;
  if (taken >= 255 && oneColour) return FillRun(p, 1, first->colour);
  // Shares of the pixel, in 255ths times 255: each part's colour weighted by its coverage, and
  // what is left of the ink below by the rest.
  unsigned alpha = 0, r = 0, g = 0, b = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const unsigned c = Share(parts, area, at, i);
    if (!c || !parts[i].colour) continue;
    alpha += c * 255u;
    r += c * 255u * parts[i].colour->r, g += c * 255u * parts[i].colour->g, b += c * 255u * parts[i].colour->b;
  }
  const unsigned rest = taken >= 255 ? 0 : 255u - taken;
  const unsigned kept = unsigned(p[3]) * rest;
  alpha += kept;
  r += kept * p[0], g += kept * p[1], b += kept * p[2];
  if (alpha == 0) return FillRun(p, 1, std::nullopt);  // no ink left: the transparent background
  p[0] = std::uint8_t((r + alpha / 2) / alpha), p[1] = std::uint8_t((g + alpha / 2) / alpha);
  p[2] = std::uint8_t((b + alpha / 2) / alpha), p[3] = std::uint8_t(std::min(255u, (alpha + 127u) / 255u));
}

Rect InkLayer::Paint(std::span<const Part> parts) {
  Rect box;
  for (const Part& part : parts) box = box.Union(PixelBounds(*part.outline));
  box = box.Intersect(Bounds());
  // The coverage is worked out over the whole box, the clip applied only where it lands.
  const Rect lands = box.Intersect(clip_);
  if (lands.Empty()) return {};
  const int w = box.right - box.left, h = box.bottom - box.top;
  const std::size_t area = std::size_t(w) * std::size_t(h);
  parts_.assign(area * parts.size(), 0);
  // Each row's reach over all parts: a ring's middle or a glyph's corners are passed over.
  rowReach_.assign(std::size_t(h), {box.right, box.left});
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::uint8_t* cover = parts_.data() + area * i;
    rasterizer_.Rasterize(*parts[i].outline, box, [&](int y, int x, int count, const std::uint8_t* covers) {
      std::memcpy(cover + std::size_t(y - box.top) * w + (x - box.left), covers, std::size_t(count));
      Reach& reach = rowReach_[std::size_t(y - box.top)];
      reach = {std::min(reach.from, x), std::max(reach.to, x + count)};
    });
  }
  for (int y = lands.top; y < lands.bottom; ++y) {
    const Reach reach = rowReach_[std::size_t(y - box.top)];
    const int to = std::min(lands.right, reach.to);
    std::size_t at = std::size_t(y - box.top) * w + std::size_t(std::max(lands.left, reach.from) - box.left);
    for (int x = std::max(lands.left, reach.from); x < to; ++x, ++at) {
      if (x + 8 <= to) {
        // Eight pixels at once where one part covers them all and the others none of them: the
        // inside of a shape, most of what a large one paints, costs a store a pixel.
        const Part* whole = nullptr;
        bool plain = true;
        for (std::size_t i = 0; i < parts.size() && plain; ++i) {
          std::uint64_t eight;
          std::memcpy(&eight, &parts_[area * i + at], 8);
          if (eight == 0) continue;
          plain = eight == ~std::uint64_t(0) && !whole;
          whole = &parts[i];
        }
        if (plain) {
          if (whole) FillRun(DryPixel(x, y), 8, whole->colour);
          x += 7, at += 7;
          continue;
        }
      }
      PaintPixel(parts, area, at, DryPixel(x, y));
    }
  }
  inked_ = inked_.Union(lands);
  return lands;
}

void InkLayer::BeginWet(Rgb colour) {
  Dry();
  if (!wet_) wet_ = std::make_unique_for_overwrite<std::uint8_t[]>(std::size_t(width_) * std::size_t(height_));
  wetColour_ = colour;
}

Rect InkLayer::SetWet(const Outline& outline, const Rect& clip) {
  if (!wet_) BeginWet(wetColour_);
  const Rect box = clip.Intersect(Bounds());
  Rect touched;
  if (box.Intersect(clip_).Empty()) return {};
  ClearWetRows(box.top, box.bottom);
  rasterizer_.Rasterize(outline, box, [&](int y, int x, int count, const std::uint8_t* covers) {
    if (y < clip_.top || y >= clip_.bottom) return;
    const int from = std::max(x, clip_.left), to = std::min(x + count, clip_.right);
    if (from >= to) return;
    std::uint8_t* wet = wet_.get() + std::size_t(y) * width_;
    for (int i = from; i < to; ++i) wet[i] = std::max(wet[i], covers[i - x]);
    touched = touched.Union({from, y, to, y + 1});
  });
  wetBox_ = wetBox_.Union(touched);
  return touched;
}

void InkLayer::ClearWetRows(int top, int bottom) {
  const std::size_t w = std::size_t(width_);
  if (wetTop_ == wetBottom_) wetTop_ = wetBottom_ = top;
  if (top < wetTop_) std::memset(wet_.get() + std::size_t(top) * w, 0, std::size_t(wetTop_ - top) * w), wetTop_ = top;
  if (bottom > wetBottom_)
    std::memset(wet_.get() + std::size_t(wetBottom_) * w, 0, std::size_t(bottom - wetBottom_) * w), wetBottom_ = bottom;
}

Rect InkLayer::Dry() {
  const Rect box = wetBox_;
  for (int y = box.top; y < box.bottom; ++y) {
    std::uint8_t* wet = wet_.get() + std::size_t(y) * width_;
    for (int x = box.left; x < box.right; ++x) {
      // A stroke's box is mostly dry paper: eight untouched pixels are passed in one test.
      std::uint64_t eight;
      if (x + 8 <= box.right && (std::memcpy(&eight, wet + x, 8), eight == 0)) {
        x += 7;
        continue;
      }
      if (!wet[x]) continue;
      std::uint8_t* p = DryPixel(x, y);
      const InkPixel out = Over({{p[0], p[1], p[2]}, p[3]}, wetColour_, wet[x]);
      p[0] = out.colour.r, p[1] = out.colour.g, p[2] = out.colour.b, p[3] = out.coverage;
      wet[x] = 0;
    }
  }
  wetBox_ = {};
  inked_ = inked_.Union(box);
  return box;
}

InkPixel InkLayer::At(int x, int y) const {
  const std::uint8_t* p = DryPixel(x, y);
  const InkPixel dry{{p[0], p[1], p[2]}, p[3]};
  if (!wet_ || y < wetTop_ || y >= wetBottom_) return dry;  // rows no stroke reached hold no wet ink
  return Over(dry, wetColour_, wet_[std::size_t(y) * width_ + x]);
}

PngRows InkLayer::Rgba() {
  Dry();
  return {dry_.get(), std::size_t(width_) * 4, width_, height_, 4};
}

template <class Blend>
void InkLayer::OverPicture(const PixelRows& part, int left, int top, const Rect& area, Blend blend) const {
  if (part.bitsPerPixel != 24 && part.bitsPerPixel != 32)
    throw PictureError("The picture under the ink is not of the layer's kind");
  const Rect box = area.Intersect(Bounds());
  if (box.Intersect({left, top, left + part.width, top + part.height}) != box)
    throw PictureError("The picture under the ink is not of the layer's size");
  const int step = part.bitsPerPixel / 8;
  for (int y = box.top; y < box.bottom; ++y) {
    std::uint8_t* bgr = part.Row(y - top) + std::size_t(box.left - left) * step;
    for (int x = box.left; x < box.right; ++x, bgr += step) {
      const InkPixel ink = At(x, y);
      if (ink.coverage) blend(bgr, ink);
    }
  }
}

void InkLayer::CompositeOnto(const PixelRows& picture, const Rect& area) const {
  if (picture.width != width_ || picture.height != height_)
    throw PictureError("The picture under the ink is not of the layer's size");
  CompositeOnto(picture, 0, 0, area);
}

void InkLayer::CompositeOnto(const PixelRows& part, int left, int top, const Rect& area) const {
  OverPicture(part, left, top, area, [](std::uint8_t* bgr, const InkPixel& ink) {
    bgr[0] = Mix(bgr[0], ink.colour.b, ink.coverage);
    bgr[1] = Mix(bgr[1], ink.colour.g, ink.coverage);
    bgr[2] = Mix(bgr[2], ink.colour.r, ink.coverage);
  });
}

void InkLayer::ThresholdOnto(const PixelRows& picture, const Rect& area) const {
  if (picture.width != width_ || picture.height != height_)
    throw PictureError("The picture under the ink is not of the layer's size");
  OverPicture(picture, 0, 0, area, [](std::uint8_t* bgr, const InkPixel& ink) {
    if (ink.coverage < kThreshold) return;
    bgr[0] = ink.colour.b, bgr[1] = ink.colour.g, bgr[2] = ink.colour.r;
  });
}

}  // namespace inkra::ink
