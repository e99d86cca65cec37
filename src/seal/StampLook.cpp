#include "StampLook.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Numeric.h"

namespace inkra {
namespace {

std::uint32_t Mix(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

std::uint32_t Hash(std::uint32_t seed, int a, int b) {
  return Mix(seed ^ Mix(std::uint32_t(a) * 0x9E3779B1U ^ Mix(std::uint32_t(b) + 0x85EBCA77U)));
}

double Unit(std::uint32_t h) { return (h >> 8) / double(1U << 24); }

// Smooth noise in [0, 1): hashed lattice values `cell` pixels apart, blended bilinearly.
double Noise(std::uint32_t seed, double x, double y, double cell) {
  const double gx = x / cell, gy = y / cell;
  const int ix = int(std::floor(gx)), iy = int(std::floor(gy));
  const double fx = gx - ix, fy = gy - iy;
  auto v = [&](int dx, int dy) { return Unit(Hash(seed, ix + dx, iy + dy)); };
  const double top = v(0, 0) + (v(1, 0) - v(0, 0)) * fx, bottom = v(0, 1) + (v(1, 1) - v(0, 1)) * fx;
  return top + (bottom - top) * fy;
}

}  // namespace

std::uint32_t StampSeed(std::string_view parameters) {
  std::uint32_t h = 2166136261U;  // FNV-1a
  for (char c : parameters) h = (h ^ std::uint8_t(c)) * 16777619U;
  return Mix(h);
}

void ApplyStampLook(ink::InkLayer& layer, std::uint32_t seed, int dpi) {
  const int w = layer.Width(), h = layer.Height();
  if (w <= 0 || h <= 0) return;
  const double scale = double(dpi > 0 ? dpi : kDesignDpi) / kDesignDpi;
  PixelRows rows = layer.DryPixels();
  auto coverage = [&](int x, int y) -> std::uint8_t& { return rows.bits[std::size_t(y) * rows.stride + 4 * std::size_t(x) + 3]; };

  // Which pixels are on the ink's edge, read before anything changes.
  std::vector<std::uint8_t> edge(std::size_t(w) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (coverage(x, y) == 0) continue;
      const bool open = x == 0 || y == 0 || x == w - 1 || y == h - 1 || coverage(x - 1, y) == 0 ||
                        coverage(x + 1, y) == 0 || coverage(x, y - 1) == 0 || coverage(x, y + 1) == 0;
      edge[std::size_t(y) * w + x] = open;
    }

  // A few worn spots, a little over a millimetre across at most.
  struct Spot {
    double x, y, r;
  };
  std::vector<Spot> spots;
  const int spotCount = 3 + int(Hash(seed, -1, -1) % 3);
  for (int i = 0; i < spotCount; ++i)
    spots.push_back({Unit(Hash(seed, i, 1)) * w, Unit(Hash(seed, i, 2)) * h, (1.2 + 2.0 * Unit(Hash(seed, i, 3))) * scale});

  const double patch = 5 * scale, grain = 2 * scale;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t& c = coverage(x, y);
      if (c == 0) continue;
      // Uneven ink: most of the seal full, patches down to 70 %.
      const double n = Noise(seed, x, y, patch);
      double keep = n < 0.74 ? 1.0 : 1.0 - 0.3 * (n - 0.74) / 0.26;
      for (const Spot& s : spots) {
        const double d = std::hypot(x - s.x, y - s.y) / s.r;
        if (d < 1) keep *= 0.2 + 0.8 * d * d;
      }
      // A rough outer edge: some of the ring's outermost pixels lose part of their ink, in grains.
      const double dx = (x + 0.5) / w * 2 - 1, dy = (y + 0.5) / h * 2 - 1;
      if (edge[std::size_t(y) * w + x] && dx * dx + dy * dy > 0.8 && Noise(seed ^ 0x5bd1e995U, x, y, grain) > 0.6)
        keep *= 0.45;
      c = std::uint8_t(std::lround(c * keep));
    }
}

}  // namespace inkra
