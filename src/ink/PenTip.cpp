#include "PenTip.h"

#include <algorithm>
#include <cmath>

namespace inkra::ink {

double TipFactorAt(double speed) {
  const double t = std::clamp((speed - kTipSlowSpeed) / (kTipFastSpeed - kTipSlowSpeed), 0.0, 1.0);
  return kTipSlowFactor + (kTipFastFactor - kTipSlowFactor) * t;
}

void PenTip::Start(double x, double y, std::uint32_t ms, int dpi) {
  pixelsPerMm_ = (dpi > 0 ? dpi : 96) / 25.4;
  speed_ = 0;
  factor_ = kTipSlowFactor;  // the pen lands at rest
  lastX_ = x, lastY_ = y, lastMs_ = ms;
  held_[0] = {x, y, kNoPressure, float(factor_)};
  heldCount_ = 1;
}

void PenTip::Add(double x, double y, std::uint32_t ms, std::vector<InkSample>& out) {
  if (heldCount_ == 0) return;
  // Times wrap round every 49 days; a report from before the last counts as at once.
  const double interval = std::max(double(std::int32_t(ms - lastMs_)), kTipMinIntervalMs);
  const double reading = std::hypot(x - lastX_, y - lastY_) / pixelsPerMm_ / interval;
  speed_ += kTipSpeedWeight * (reading - speed_);
  factor_ = std::clamp(TipFactorAt(speed_), factor_ * (1 - kTipMaxChange), factor_ * (1 + kTipMaxChange));
  lastX_ = x, lastY_ = y, lastMs_ = ms;

  if (heldCount_ == kHeld) {
    out.push_back(held_[0]);
    held_[0] = held_[1];
    --heldCount_;
  }
  held_[heldCount_++] = {x, y, kNoPressure, float(factor_)};
}

void PenTip::Finish(std::uint32_t ms, std::vector<InkSample>& out) {
  // A release dated before the last sample is one without a time (a stroke the board ends
  // itself): no flick.
  const std::int32_t since = std::int32_t(ms - lastMs_);
  const bool flicked = since >= 0 && since <= std::int32_t(kTipStillMs) && speed_ > kTipSlowSpeed;
  for (int i = 0; i < heldCount_; ++i) {
    InkSample s = held_[i];
    // The last sample ends at a third, the one before it two thirds of the way there.
    const int fromEnd = heldCount_ - 1 - i;
    if (flicked) s.width *= float(1 - (1 - kTipEndFactor) * (kHeld - fromEnd) / kHeld);
    out.push_back(s);
  }
  heldCount_ = 0;
}

}  // namespace inkra::ink
