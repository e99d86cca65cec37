#pragma once
// The run a stroke is on: the centre line's points since the nib's leading corners last changed
// (see RunCorner), kept so that a step along it is drawn as one polygon of the whole run near
// it, which needs no joining with the steps before it.
#include <cstdint>
#include <span>
#include <vector>

#include "Nib.h"

namespace inkra::ink {

class NibRun {
 public:
  // No run: the next piece starts one.
  void Reset();
  // Takes a piece of the centre line (its first point the last one taken). Returns whether all
  // of it lies on the current run, started anew where needed: false when the run changes inside
  // the piece, or the piece cannot be a run (one point, or widths that vary with pressure).
  bool Extend(std::span<const NibPoint> piece);
  // The current run's number, never 0; a new run gets a new one.
  std::uint32_t Id() const { return id_; }
  // The outline of the run's part that reaches into `area`: every part of the run that reaches
  // it, none that does not (SweepRun over those points).
  const Outline& Near(const Rect& area);

 private:
  // A run this long starts again, so finding its part near a step stays cheap; the steps before
  // are then joined with as any earlier step is.
  static constexpr std::size_t kMaxPoints = 64;

  void Start(const NibPoint& from, int corner);

  std::vector<NibPoint> points_;
  std::vector<Rect> steps_;  // the pixels each step of the run reaches: steps_[i] ends at points_[i + 1]
  int corner_ = -1;
  std::uint32_t id_ = 0;
  Outline near_{1};
};

}  // namespace inkra::ink
