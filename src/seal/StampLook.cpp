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

// The same integers as std::floor and std::lround (for the look's coverage, never negative),
// without a call into the C runtime for each of a print's million pixels.
int FloorOf(double v) {
  const int i = int(v);
  return i - (v < i);
}
std::uint8_t RoundedCoverage(double v) {
  const int i = int(v);
  return std::uint8_t(i + (v - i >= 0.5));
}

// Smooth noise in [0, 1): hashed lattice values `cell` units apart, blended bilinearly, over
// x and y from -1 to the given ends. The lattice is hashed once, not four times a pixel.
class Noise {
 public:
  Noise(std::uint32_t seed, double cell, double xEnd, double yEnd)
      : cell_(cell), x0_(Floor(-1)), y0_(Floor(-1)), columns_(Floor(xEnd) - x0_ + 2) {
    const int rows = Floor(yEnd) - y0_ + 2;
    values_.resize(std::size_t(columns_) * rows);
    for (int j = 0; j < rows; ++j)
      for (int i = 0; i < columns_; ++i) values_[std::size_t(j) * columns_ + i] = Unit(Hash(seed, x0_ + i, y0_ + j));
  }
  double At(double x, double y) const {
    const double gx = x / cell_, gy = y / cell_;
    const int ix = FloorOf(gx), iy = FloorOf(gy);
    const double fx = gx - ix, fy = gy - iy;
    const double* row = &values_[std::size_t(iy - y0_) * columns_ + (ix - x0_)];
    const double top = row[0] + (row[1] - row[0]) * fx, bottom = row[columns_] + (row[columns_ + 1] - row[columns_]) * fx;
    return top + (bottom - top) * fy;
  }

 private:
  int Floor(double v) const { return int(std::floor(v / cell_)); }
  double cell_;
  int x0_, y0_, columns_;
  std::vector<double> values_;
};

// The ink within `band` pixels of paper (no ink, or the picture's border) along a row or a
// column: one seal unit of the ink's edge at any dpi. Read before anything changes.
std::vector<std::uint8_t> EdgeBand(const ink::InkLayer& layer, int band) {
  const int w = layer.Width(), h = layer.Height();
  const ConstPixelRows rows = layer.DryPixels();
  auto inked = [&](int x, int y) { return rows.bits[std::size_t(y) * rows.stride + 4 * std::size_t(x) + 3] != 0; };
  std::vector<std::uint8_t> edge(std::size_t(w) * h, 0);
  // Distance to the nearest paper along a row, both ways, in one pass each.
  std::vector<int> gap(static_cast<std::size_t>(w));
  auto line = [&](int length, auto at, auto mark) {
    int last = -1;  // the paper before the line
    for (int i = 0; i < length; ++i) {
      if (!at(i)) last = i;
      gap[std::size_t(i)] = i - last;
    }
    last = length;
    for (int i = length - 1; i >= 0; --i) {
      if (!at(i)) last = i;
      if (at(i) && std::min(gap[std::size_t(i)], last - i) <= band) mark(i);
    }
  };
  for (int y = 0; y < h; ++y)
    line(w, [&](int x) { return inked(x, y); }, [&](int x) { edge[std::size_t(y) * w + x] = 1; });
  // Down the columns the same, but row by row (a column's pixels lie a row apart in memory):
  // each column's run of ink so far, from the top and then from the bottom.
  std::vector<int> run(static_cast<std::size_t>(w));
  auto down = [&](int y) {
    for (int x = 0; x < w; ++x) {
      int& r = run[std::size_t(x)];
      r = inked(x, y) ? r + 1 : 0;
      if (r && r <= band) edge[std::size_t(y) * w + x] = 1;
    }
  };
  for (int y = 0; y < h; ++y) down(y);
  std::fill(run.begin(), run.end(), 0);
  for (int y = h - 1; y >= 0; --y) down(y);
  return edge;
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
  // Everything is placed in seal units (96-dpi pixels), so the same seal shows the same
  // impression at any dpi: a print drawn at 300 dpi looks as the preview does, only sharper.
  const double scale = double(dpi > 0 ? dpi : kDesignDpi) / kDesignDpi;
  auto unit = [scale](int pixel) { return (pixel + 0.5) / scale - 0.5; };  // a pixel's centre
  PixelRows rows = layer.DryPixels();
  auto coverage = [&](int x, int y) -> std::uint8_t& { return rows.bits[std::size_t(y) * rows.stride + 4 * std::size_t(x) + 3]; };
  const std::vector<std::uint8_t> edge = EdgeBand(layer, std::max(1, int(std::lround(scale))));

  // A few worn spots, a little over a millimetre across at most.
  struct Spot {
    double x, y, r;
  };
  std::vector<Spot> spots;
  const int spotCount = 3 + int(Hash(seed, -1, -1) % 3);
  for (int i = 0; i < spotCount; ++i)
    spots.push_back({Unit(Hash(seed, i, 1)) * w / scale, Unit(Hash(seed, i, 2)) * h / scale, 1.2 + 2.0 * Unit(Hash(seed, i, 3))});

  constexpr double kPatch = 5, kGrain = 2;
  const double uEnd = unit(w - 1) + 1, vEnd = unit(h - 1) + 1;
  const Noise patches(seed, kPatch, uEnd, vEnd), grains(seed ^ 0x5bd1e995U, kGrain, uEnd, vEnd);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t& c = coverage(x, y);
      if (c == 0) continue;
      const double u = unit(x), v = unit(y);
      // Uneven ink: most of the seal full, patches down to 70 %.
      const double n = patches.At(u, v);
      double keep = n < 0.74 ? 1.0 : 1.0 - 0.3 * (n - 0.74) / 0.26;
      for (const Spot& s : spots) {
        if (std::abs(u - s.x) >= s.r || std::abs(v - s.y) >= s.r) continue;  // outside it
        const double d = std::hypot(u - s.x, v - s.y) / s.r;
        if (d < 1) keep *= 0.2 + 0.8 * d * d;
      }
      // A rough outer edge: some of the ring's outermost ink loses part of it, in grains.
      const double dx = (x + 0.5) / w * 2 - 1, dy = (y + 0.5) / h * 2 - 1;
      if (edge[std::size_t(y) * w + x] && dx * dx + dy * dy > 0.8 && grains.At(u, v) > 0.6)
        keep *= 0.45;
      c = RoundedCoverage(c * keep);
    }
}

}  // namespace inkra
