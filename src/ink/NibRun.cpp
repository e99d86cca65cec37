#include "NibRun.h"

namespace inkra::ink {

void NibRun::Reset() {
  points_.clear();
  steps_.clear();
  corner_ = -1;
}

void NibRun::Start(const NibPoint& from, int corner) {
  points_.assign(1, from);
  steps_.clear();
  corner_ = corner;
  if (++id_ == 0) id_ = 1;
}

bool NibRun::Extend(std::span<const NibPoint> piece) {
  bool varies = false;
  for (const NibPoint& p : piece) varies = varies || p.width != piece.front().width;
  if (piece.size() < 2 || varies) {
    Reset();
    return false;
  }
  bool whole = true, taken = false;
  for (std::size_t i = 1; i < piece.size(); ++i) {
    const double dx = piece[i].x - piece[i - 1].x, dy = piece[i].y - piece[i - 1].y;
    if (dx == 0 && dy == 0) continue;
    const NibPoint& from = piece[i - 1];
    const bool joins = !points_.empty() && points_.back().x == from.x && points_.back().y == from.y &&
                       points_.back().width == from.width;
    if (!joins || !CornerLeads(corner_, dx, dy) || points_.size() >= kMaxPoints) {
      if (taken) whole = false;  // the piece's first steps went on the run before this one
      Start(from, RunCorner(dx, dy));
    }
    steps_.push_back(NibBox(points_.back()).Union(NibBox(piece[i])));
    points_.push_back(piece[i]);
    taken = true;
  }
  return whole && taken;
}

const Outline& NibRun::Near(const Rect& area) {
  // The earliest step of the run that reaches the area; steps before it are left out, so the
  // outline's back end lies off the area.
  std::size_t from = points_.size();
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    if (!steps_[i].Intersect(area).Empty()) {
      from = i;
      break;
    }
  }
  if (from == points_.size()) from = points_.empty() ? 0 : points_.size() - 1;
  SweepRun(std::span(points_).subspan(from), corner_, near_[0]);
  return near_;
}

}  // namespace inkra::ink
