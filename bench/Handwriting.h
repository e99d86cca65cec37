#pragma once
// A handwriting-like path inside a 602 x 258 box: loops of a few dozen pixels, a sample every
// 4 to 9 pixels as a mouse reports a quick hand. The stroke-step figures all follow it, so the
// native and the board's figures time the same strokes.
#include <cmath>
#include <vector>

namespace inkra::bench {

struct PathPoint {
  double x, y;
};

inline std::vector<PathPoint> Handwriting(double left, double top, double scale) {
  std::vector<PathPoint> samples;
  for (int i = 0; i < 400; ++i) {
    const double t = i * 0.07;
    samples.push_back({left + scale * (30 + t * 20 + 25 * std::sin(t * 3.1)),
                       top + scale * (120 + 70 * std::sin(t * 1.7) * std::cos(t * 0.45))});
  }
  return samples;
}

// Steps per stroke: the steps measured are those of an ordinary stroke, not of one growing
// without end.
constexpr int kStepsPerStroke = 40;

}  // namespace inkra::bench
