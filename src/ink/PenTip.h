#pragma once
// The pen's tip (笔锋) for a pointer that reports no pressure, the mouse above all: the nib
// thins where the hand moves fast and swells where it lingers, and a stroke flicked off the
// paper tapers away, as ink from a brush or a fountain pen does. Signature pads that draw
// mouse and finger strokes give the width the same way: a width falling with the hand's
// speed, the speed smoothed over a few samples so that the jitter of a mouse's reports does
// not show as a ragged edge.
//
// The tip turns the pointer's positions and times into samples for the pen, each carrying the
// width factor the nib is drawn at there. It holds the last two samples back: a release at
// speed tapers them, and a sample the pen has drawn cannot be narrowed any more.
#include <cstdint>
#include <vector>

#include "CentreLine.h"

namespace inkra::ink {

// The curve, in millimetres on the screen, so that a stroke thins the same at any display
// scaling. Written slowly (a careful hand, 40 mm per second and less) the nib is 1.3 times its
// chosen width; at a quick hand's 400 mm per second and more it is half of it; in between the
// width falls along a straight line.
constexpr double kTipSlowFactor = 1.3;
constexpr double kTipFastFactor = 0.5;
constexpr double kTipSlowSpeed = 0.04;  // millimetres per millisecond
constexpr double kTipFastSpeed = 0.4;
// The speed is smoothed over the samples: each new reading weighs this much against what the
// samples before said.
constexpr double kTipSpeedWeight = 0.5;
// From one sample to the next the width changes by at most a fifth, so a sudden jerk of the
// mouse swells or thins the line over a few samples instead of at one corner.
constexpr double kTipMaxChange = 0.2;
// A release this soon after the last sample, with the hand faster than slow, is a flick off
// the paper: the last samples taper to a third of their width. A hand that came to rest first
// leaves its stroke as it is.
constexpr std::uint32_t kTipStillMs = 50;
constexpr double kTipEndFactor = 1.0 / 3.0;
// Reports closer together than this are taken as this far apart: a mouse's coalesced moves
// can carry the same time.
constexpr double kTipMinIntervalMs = 4;

// The width factor at a speed (millimetres per millisecond), before smoothing.
double TipFactorAt(double speed);

class PenTip {
 public:
  // A press at (x, y) at time `ms`; `dpi` is the pixels per inch of the positions.
  void Start(double x, double y, std::uint32_t ms, int dpi);
  // A move. Appends to `out` the samples now settled, the press first.
  void Add(double x, double y, std::uint32_t ms, std::vector<InkSample>& out);
  // The release at time `ms`: the held samples, tapered when the hand was still moving.
  void Finish(std::uint32_t ms, std::vector<InkSample>& out);

 private:
  static constexpr int kHeld = 2;
  InkSample held_[kHeld];
  int heldCount_ = 0;
  double lastX_ = 0, lastY_ = 0;
  std::uint32_t lastMs_ = 0;
  double pixelsPerMm_ = 96 / 25.4;
  double speed_ = 0;
  double factor_ = kTipSlowFactor;
};

}  // namespace inkra::ink
