#include "InkPen.h"

#include <algorithm>
#include <cmath>

namespace inkra::ink {
namespace {

// Far beyond any layer, yet every coordinate stays exact on the outline grid.
constexpr double kMaxCoordinate = 1 << 24;
constexpr double kMaxNibWidth = 30000;

// A sample the geometry can take: NaN is no position, and distances stay bounded.
bool Usable(InkSample& s) {
  if (!std::isfinite(s.x) || !std::isfinite(s.y)) return false;
  s.x = std::clamp(s.x, -kMaxCoordinate, kMaxCoordinate);
  s.y = std::clamp(s.y, -kMaxCoordinate, kMaxCoordinate);
  if (!(s.pressure >= 0)) s.pressure = kNoPressure;
  return true;
}

// A step's box and a pixel round it: the reach of the outline it keeps.
Rect Grown(const Rect& box) { return {box.left - 1, box.top - 1, box.right + 1, box.bottom + 1}; }

}  // namespace

void InkPen::Down(const InkSample& sample, double nibWidth, Rgb colour) {
  if (drawing_) Up();
  InkSample s = sample;
  if (!Usable(s)) return;
  drawing_ = true;
  moved_ = false;
  nibWidth_ = std::isfinite(nibWidth) ? std::clamp(nibWidth, 0.0, kMaxNibWidth) : 0;
  first_ = s;
  stepCount_ = 0;
  line_.Start(s);
  layer_.BeginWet(colour);
}

Rect InkPen::Move(const InkSample& sample) {
  InkSample s = sample;
  if (!drawing_ || !Usable(s)) return {};
  moved_ = true;
  piece_.clear();
  line_.Add(s, piece_);
  return Draw(piece_);
}

Rect InkPen::Up() {
  if (!drawing_) return {};
  drawing_ = false;
  piece_.clear();
  if (line_.Distinct() >= 2) {
    line_.Finish(piece_);
  } else if (moved_) {
    piece_.push_back(first_);
  }
  Rect changed = Draw(piece_);
  changed = changed.Union(layer_.Dry());
  stepCount_ = 0;
  return changed;
}

Rect InkPen::Draw(const std::vector<InkSample>& piece) {
  if (piece.empty()) return {};
  nibs_.clear();
  for (const InkSample& s : piece) nibs_.push_back({s.x, s.y, NibWidthFor(nibWidth_, s.pressure)});
  SweepBands(nibs_, bands_);
  const Rect box = PixelBounds(bands_);
  const Rect reach = Grown(box);

  // The step's bands joined with the stroke that earlier steps left round its box. The last
  // step's outline already holds every earlier band inside its own reach, so an older step is
  // needed only where its bands reach beyond that (a stroke that turns back on itself).
  clipper_.Clear();
  clipper_.AddPaths(bands_, ClipperLib::ptSubject, true);
  const Step* last = stepCount_ ? &steps_[(firstStep_ + stepCount_ - 1) % kMaxJoinedSteps] : nullptr;
  const Rect lastReach = last ? Grown(last->box) : Rect{};
  for (std::size_t i = 0; i < stepCount_; ++i) {
    const Step& earlier = steps_[(firstStep_ + i) % kMaxJoinedSteps];
    const Rect near = earlier.box.Intersect(reach);
    if (near.Empty() || (&earlier != last && near.Intersect(lastReach) == near)) continue;
    ClipToBox(earlier.stroke, reach, cut_);
    clipper_.AddPaths(cut_, ClipperLib::ptSubject, true);
  }
  clipper_.Execute(ClipperLib::ctUnion, joined_, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  const Rect changed = layer_.SetWet(joined_, box);

  // The oldest step makes way once the ring is full.
  if (stepCount_ == kMaxJoinedSteps) firstStep_ = (firstStep_ + 1) % kMaxJoinedSteps, --stepCount_;
  Step& step = steps_[(firstStep_ + stepCount_++) % kMaxJoinedSteps];
  ClipToBox(joined_, reach, step.stroke);
  step.box = box;
  return changed;
}

}  // namespace inkra::ink
