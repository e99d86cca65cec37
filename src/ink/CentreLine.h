#pragma once
// The centre line of a stroke: a centripetal Catmull-Rom curve through the pointer's sampled
// positions, flattened into short straight pieces. Centripetal knots (alpha 1/2) keep the curve
// free of cusps and loops between samples however unevenly a fast hand spaces them.
//
// A piece between two samples needs the sample after it, so the curve runs one sample behind
// the pointer until the stroke ends.
#include <vector>

#include "Nib.h"

namespace inkra::ink {

struct InkSample {
  double x = 0, y = 0;
  float pressure = kNoPressure;
  // The nib's width here as a share of its width at this pressure: 1 unless the pen's tip
  // (PenTip) thins or swells it.
  float width = 1.0f;
};

// Flattening tolerance: no point of the curve is further than this from the straight pieces
// (pixels). A twentieth of a pixel is a fifth of a screen pixel at 400 % zoom, below what the
// eye sees as a corner.
constexpr double kFlatness = 0.05;

class CentreLine {
 public:
  explicit CentreLine(double flatness = kFlatness) : flatness_(flatness) {}

  void Start(const InkSample& s);
  // A new sample. Appends to `out` the flattened piece that this sample settles (from the
  // sample two back to the one before), both ends included. A sample at the position of the
  // last one settles nothing.
  void Add(const InkSample& s, std::vector<InkSample>& out);
  // The last piece, up to the last sample. Nothing when the pointer never left the first one.
  void Finish(std::vector<InkSample>& out);

  // Samples at distinct positions so far.
  int Distinct() const { return count_; }

 private:
  void Piece(const InkSample& before, const InkSample& from, const InkSample& to, const InkSample& after,
             std::vector<InkSample>& out) const;

  double flatness_;
  InkSample last_[3];  // the latest distinct samples, newest last
  int count_ = 0;
};

// The Bezier segment of the centripetal Catmull-Rom curve from p1 to p2, flattened within
// `flatness` (exposed for the tests): `steps` straight pieces, the count the error bound needs.
int FlattenSteps(const Vec2 (&bezier)[4], double flatness);

}  // namespace inkra::ink
