#include "CentreLine.h"

#include <algorithm>
#include <cmath>

namespace inkra::ink {
namespace {

double Distance(const InkSample& a, const InkSample& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// The sample mirrored through `at`: the phantom neighbour at either end of the stroke, which makes
// the curve leave the first sample and reach the last one heading straight along the first and
// last pieces.
InkSample Mirror(const InkSample& at, const InkSample& other) {
  return {2 * at.x - other.x, 2 * at.y - other.y, at.pressure, at.width};
}

constexpr int kMaxSteps = 1024;  // a piece dragged across a huge board still ends

}  // namespace

int FlattenSteps(const Vec2 (&b)[4], double flatness) {
  // A cubic Bezier's second derivative is at most 6 M, M the larger second difference of its
  // control points; a chord over a parameter step h then stays within h^2/8 * 6 M = 0.75 M h^2.
  const double m = std::max(std::hypot(b[0].x - 2 * b[1].x + b[2].x, b[0].y - 2 * b[1].y + b[2].y),
                            std::hypot(b[1].x - 2 * b[2].x + b[3].x, b[1].y - 2 * b[2].y + b[3].y));
  const double steps = std::ceil(std::sqrt(0.75 * m / flatness));
  return int(std::clamp(steps, 1.0, double(kMaxSteps)));
}

void CentreLine::Start(const InkSample& s) {
  last_[2] = s;
  count_ = 1;
}

void CentreLine::Add(const InkSample& s, std::vector<InkSample>& out) {
  if (count_ == 0) return Start(s);
  if (Distance(last_[2], s) < 1e-9) {
    last_[2].pressure = s.pressure;  // the pen pressed harder or lighter where it stands
    last_[2].width = s.width;
    return;
  }
  if (count_ >= 2) {
    const InkSample before = count_ >= 3 ? last_[0] : Mirror(last_[1], last_[2]);
    Piece(before, last_[1], last_[2], s, out);
  }
  last_[0] = last_[1], last_[1] = last_[2], last_[2] = s;
  ++count_;
}

void CentreLine::Finish(std::vector<InkSample>& out) {
  if (count_ < 2) return;
  const InkSample before = count_ >= 3 ? last_[0] : Mirror(last_[1], last_[2]);
  Piece(before, last_[1], last_[2], Mirror(last_[2], last_[1]), out);
  count_ = 0;
}

void CentreLine::Piece(const InkSample& p0, const InkSample& p1, const InkSample& p2, const InkSample& p3,
                       std::vector<InkSample>& out) const {
  // Control points of the centripetal curve's Bezier form (knot intervals |Pi - Pi-1|^(1/2)).
  const double d1 = Distance(p0, p1), d2 = Distance(p1, p2), d3 = Distance(p2, p3);
  const double r1 = std::sqrt(d1), r2 = std::sqrt(d2), r3 = std::sqrt(d3);
  const auto inner = [](const InkSample& far, const InkSample& near, const InkSample& other, double dn, double rn,
                        double d2v, double r2v) -> Vec2 {
    // (dn P_other - d2 P_far + (2 dn + 3 rn r2 + d2) P_near) / (3 rn (rn + r2)), or the point
    // itself when the neighbour coincides (no tangent to take from it).
    if (rn == 0) return {near.x, near.y};
    const double k = 3 * rn * (rn + r2v);
    const double c = 2 * dn + 3 * rn * r2v + d2v;
    return {(dn * other.x - d2v * far.x + c * near.x) / k, (dn * other.y - d2v * far.y + c * near.y) / k};
  };
  const Vec2 b[4] = {{p1.x, p1.y}, inner(p0, p1, p2, d1, r1, d2, r2), inner(p3, p2, p1, d3, r3, d2, r2), {p2.x, p2.y}};
  const int steps = FlattenSteps(b, flatness_);
  const bool pressure = p1.pressure >= 0 && p2.pressure >= 0;
  for (int i = 0; i <= steps; ++i) {
    const double t = double(i) / steps, u = 1 - t;
    const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
    InkSample s{w0 * b[0].x + w1 * b[1].x + w2 * b[2].x + w3 * b[3].x,
                w0 * b[0].y + w1 * b[1].y + w2 * b[2].y + w3 * b[3].y,
                pressure ? float(p1.pressure + (p2.pressure - p1.pressure) * t) : kNoPressure,
                float(p1.width + (p2.width - p1.width) * t)};
    if (i == 0) s.x = p1.x, s.y = p1.y;
    if (i == steps) s.x = p2.x, s.y = p2.y;
    out.push_back(s);
  }
}

}  // namespace inkra::ink

