#include "InkPen.h"

namespace inkra::ink {

void InkPen::Down(const InkSample& s, double nibWidth, Rgb colour) {
  if (drawing_) Up();
  drawing_ = true;
  moved_ = false;
  nibWidth_ = nibWidth;
  first_ = s;
  steps_.clear();
  line_.Start(s);
  layer_.BeginWet(colour);
}

Rect InkPen::Move(const InkSample& s) {
  if (!drawing_) return {};
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
  step.box = PixelBounds(step.bands);

  // The step's bands joined with every earlier band of the stroke that reaches into its box.
  ClipperLib::Clipper clipper;
  clipper.AddPaths(step.bands, ClipperLib::ptSubject, true);
  for (const Step& earlier : steps_)
    if (!earlier.box.Intersect(step.box).Empty()) clipper.AddPaths(earlier.bands, ClipperLib::ptSubject, true);
  Outline joined;
  clipper.Execute(ClipperLib::ctUnion, joined, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

  const Rect changed = layer_.SetWet(joined, step.box);
  steps_.push_back(std::move(step));
  return changed;
}

}  // namespace inkra::ink
