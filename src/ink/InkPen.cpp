#include "InkPen.h"

#include <algorithm>
#include <cmath>

namespace inkra::ink {
namespace {

// Far beyond any layer, yet every coordinate stays exact on the outline grid.
constexpr double kMaxCoordinate = 1 << 24;
constexpr double kMaxNibWidth = 30000;
constexpr float kMaxWidthShare = 2;  // beyond what the pen's tip ever asks

// A sample the geometry can take: NaN is no position, and distances stay bounded.
bool Usable(InkSample& s) {
  if (!std::isfinite(s.x) || !std::isfinite(s.y)) return false;
  s.x = std::clamp(s.x, -kMaxCoordinate, kMaxCoordinate);
  s.y = std::clamp(s.y, -kMaxCoordinate, kMaxCoordinate);
  if (!(s.pressure >= 0)) s.pressure = kNoPressure;
  s.width = std::isfinite(s.width) ? std::clamp(s.width, 0.0f, kMaxWidthShare) : 1.0f;
  return true;
}

// A step's box and a pixel round it: the reach of the outline it keeps.
Rect Grown(const Rect& box) { return {box.left - 1, box.top - 1, box.right + 1, box.bottom + 1}; }

}  // namespace

void InkPen::Down(InkLayer& layer, const InkSample& sample, double nibWidth, Rgb colour, double pen) {
  if (drawing_) Up();
  InkSample s = sample;
  if (!Usable(s)) return;
  layer_ = &layer;
  drawing_ = true;
  finished_ = false;
  moved_ = false;
  nibWidth_ = std::isfinite(nibWidth) ? std::clamp(nibWidth, 0.0, kMaxNibWidth) : 0;
  pen_ = std::isfinite(pen) ? std::clamp(pen, 1.0 / kSubpixels, kMaxNibWidth) : 1;
  first_ = s;
  stepCount_ = 0;
  run_.Reset();
  // Flattened to the same pieces at any scale, so a stroke drawn larger is the same shape.
  line_ = CentreLine(kFlatness * pen_);
  line_.Start(s);
  layer_->BeginWet(colour);
}

Rect InkPen::Move(const InkSample& sample) {
  InkSample s = sample;
  if (!drawing_ || !Usable(s)) return {};
  moved_ = true;
  piece_.clear();
  line_.Add(s, piece_);
  return Draw(piece_);
}

Rect InkPen::Finish() {
  if (!drawing_ || finished_) return {};
  finished_ = true;
  piece_.clear();
  if (line_.Distinct() >= 2) {
    line_.Finish(piece_);
  } else if (moved_) {
    piece_.push_back(first_);
  }
  return Draw(piece_);
}

Rect InkPen::Up() {
  if (!drawing_) return {};
  Rect changed = Finish();
  drawing_ = false;
  finished_ = false;
  changed = changed.Union(layer_->Dry());
  stepCount_ = 0;
  return changed;
}

Rect InkPen::Draw(const std::vector<InkSample>& piece) {
  if (piece.empty()) return {};
  nibs_.clear();
  for (const InkSample& s : piece) nibs_.push_back({s.x, s.y, NibWidthFor(nibWidth_, s.pressure) * s.width, pen_});
  const bool onRun = run_.Extend(nibs_);
  Rect box;
  for (const NibPoint& nib : nibs_) box = box.Union(NibBox(nib));
  const Rect reach = Grown(box);

  // Alone on its run (no step of another run, or of none, reaches it), a step is drawn as the
  // run's outline there, as it stands.
  bool alone = onRun;
  for (std::size_t i = 0; i < stepCount_ && alone; ++i) {
    const Step& earlier = steps_[(firstStep_ + i) % kMaxJoinedSteps];
    alone = earlier.run == run_.Id() || earlier.box.Intersect(reach).Empty();
  }
  const Outline* own = &bands_;
  if (onRun) {
    own = &run_.Near(reach);
  } else {
    SweepBands(nibs_, bands_);
  }
  if (alone) {
    const Rect changed = layer_->SetWet(*own, box);
    Keep(*own, box, run_.Id());
    return changed;
  }

  clipper_.Clear();
  clipper_.AddPaths(*own, ClipperLib::ptSubject, true);
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
  const Rect changed = layer_->SetWet(joined_, box);

  Keep(joined_, box, onRun ? run_.Id() : 0);
  return changed;
}

void InkPen::Keep(const Outline& stroke, const Rect& box, std::uint32_t run) {
  // The oldest step makes way once the ring is full.
  if (stepCount_ == kMaxJoinedSteps) firstStep_ = (firstStep_ + 1) % kMaxJoinedSteps, --stepCount_;
  Step& step = steps_[(firstStep_ + stepCount_++) % kMaxJoinedSteps];
  ClipToBox(stroke, Grown(box), step.stroke);
  step.box = box;
  step.run = run;
}

}  // namespace inkra::ink
