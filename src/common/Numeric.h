#pragma once
// Number helpers shared by the layouts: rounding with halves to even, and MulDiv.
#include <cmath>
#include <cstdint>

namespace inkra {

// Nearest integer, halves to the even neighbour (282.5 -> 282, 283.5 -> 284).
inline long long RoundHalfEven(long double v) {
  long double f = std::floor(v);
  long double diff = v - f;
  long long i = static_cast<long long>(f);
  if (diff > 0.5L) return i + 1;
  if (diff < 0.5L) return i;
  return (i % 2 == 0) ? i : i + 1;
}

// a * b / c rounded to nearest (halves away from zero), as the Windows MulDiv does; -1 when c is 0.
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t p = std::int64_t(a) * b;
  bool negative = (p < 0) != (c < 0);
  std::int64_t ap = p < 0 ? -p : p, ac = c < 0 ? -std::int64_t(c) : c;
  std::int64_t q = (ap + ac / 2) / ac;
  return int(negative ? -q : q);
}

// Layouts are drawn up in pixels at 96 dpi; a length of one at `dpi`, rounded as MulDiv rounds.
inline constexpr int kDesignDpi = 96;
inline int ScaleToDpi(int length, int dpi) { return MulDiv(length, dpi, kDesignDpi); }

// Font size in points to a character height in pixels.
inline int PointsToPixels(int points, int dpi = 96) { return MulDiv(points, dpi, 72); }

}  // namespace inkra
