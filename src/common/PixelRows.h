#pragma once
// Rectangles of whole pixels and a picture's rows where they lie in memory, shared by the ink
// model and the board's surfaces.
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace inkra {

// Left/top inclusive, right/bottom exclusive, in picture pixels.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  Rect Union(const Rect& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  }
  Rect Intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    return r.Empty() ? Rect{} : r;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A picture's pixels where they live: top-down rows of `stride` bytes at the picture's own
// depth, laid out as Bitmap's (B, G, R order at 24 and 32 bits). Not owned.
struct PixelRows {
  std::uint8_t* bits = nullptr;
  std::size_t stride = 0;
  int width = 0, height = 0, bitsPerPixel = 0;
  std::uint8_t* Row(int y) const { return bits + std::size_t(y) * stride; }
  std::size_t Bytes() const { return stride * std::size_t(height); }
};

// The same, to be read only.
struct ConstPixelRows {
  const std::uint8_t* bits = nullptr;
  std::size_t stride = 0;
  int width = 0, height = 0, bitsPerPixel = 0;
  const std::uint8_t* Row(int y) const { return bits + std::size_t(y) * stride; }
  std::size_t Bytes() const { return stride * std::size_t(height); }
};

inline ConstPixelRows ReadOnly(const PixelRows& r) { return {r.bits, r.stride, r.width, r.height, r.bitsPerPixel}; }

}  // namespace inkra
