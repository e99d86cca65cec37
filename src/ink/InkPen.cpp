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

}  // namespace

void InkPen::Down(const InkSample& sample, double nibWidth, Rgb colour) {
  if (drawing_) Up();
  InkSample s = sample;
  if (!Usable(s)) return;
  drawing_ = true;
  moved_ = false;
  nibWidth_ = std::isfinite(nibWidth) ? std::clamp(nibWidth, 0.0, kMaxNibWidth) : 0;
  first_ = s;
  steps_.clear();
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
  steps_.clear();
  return changed;
}

Rect InkPen::Draw(const std::vector<InkSample>& piece) {
  if (piece.empty()) return {};
  nibs_.clear();
  for (const InkSample& s : piece) nibs_.push_back({s.x, s.y, NibWidthFor(nibWidth_, s.pressure)});
  Step step;
  AddSweptBands(nibs_, step.bands);
  for (const OutlinePath& band : step.bands) {
    step.bandBoxes.push_back(PixelBounds({band}));
    step.box = step.box.Union(step.bandBoxes.back());
  }

  // The step's bands joined with the earlier bands of the stroke that reach into its box, the
  // newest first.
  ClipperLib::Clipper clipper;
  clipper.AddPaths(step.bands, ClipperLib::ptSubject, true);
  std::size_t added = 0;
  for (auto earlier = steps_.rbegin(); earlier != steps_.rend() && added < kMaxJoinedBands; ++earlier) {
    if (earlier->box.Intersect(step.box).Empty()) continue;
    for (std::size_t i = 0; i < earlier->bands.size() && added < kMaxJoinedBands; ++i)
      if (!earlier->bandBoxes[i].Intersect(step.box).Empty()) {
        clipper.AddPath(earlier->bands[i], ClipperLib::ptSubject, true);
        ++added;
      }
  }
  Outline joined;
  clipper.Execute(ClipperLib::ctUnion, joined, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

  const Rect changed = layer_.SetWet(joined, step.box);
  steps_.push_back(std::move(step));
  return changed;
}

}  // namespace inkra::ink
