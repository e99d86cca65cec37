#pragma once
// A picture drawn larger, averaged back to the pixels of the one it stands for: each of its
// pixels is spread over the smaller picture's pixels it overlaps, by the share of its area. That
// is what paper shows of a picture a host stretches into a box of the smaller picture's size,
// seen at the smaller picture's pixels.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace inkra::test {

// `bigWidth` x `bigHeight` pixels, `perX` x `perY` of them to a pixel of the smaller picture of
// `width` x `height`; `value(x, y, channel)` reads one of the larger picture's `channels` values.
// Gives the smaller picture's values, channels interleaved.
template <class Value>
std::vector<double> AveragedBack(int bigWidth, int bigHeight, double perX, double perY, int width, int height,
                                 int channels, Value value) {
  std::vector<double> out(std::size_t(width) * std::size_t(height) * std::size_t(channels));
  for (int y = 0; y < bigHeight; ++y)
    for (int x = 0; x < bigWidth; ++x) {
      const double x0 = x / perX, x1 = (x + 1) / perX, y0 = y / perY, y1 = (y + 1) / perY;
      for (int sy = int(y0); sy < height && sy < y1; ++sy)
        for (int sx = int(x0); sx < width && sx < x1; ++sx) {
          const double share = (std::min(x1, sx + 1.0) - std::max(x0, double(sx))) *
                               (std::min(y1, sy + 1.0) - std::max(y0, double(sy)));
          for (int c = 0; c < channels; ++c)
            out[(std::size_t(sy) * std::size_t(width) + std::size_t(sx)) * std::size_t(channels) + std::size_t(c)] +=
                share * value(x, y, c);
        }
    }
  return out;
}

}  // namespace inkra::test
