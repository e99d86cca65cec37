#pragma once
// Refuses re-entry through a nested message loop: while the first call runs, a second one that a
// modal loop dispatches finds the flag set and does nothing.
//
//   win::ReentryGuard guard(busy_);
//   if (!guard.Entered()) return;
namespace inkra::win {

class ReentryGuard {
 public:
  explicit ReentryGuard(bool& busy) : busy_(busy), entered_(!busy) { busy_ = true; }
  ~ReentryGuard() {
    if (entered_) busy_ = false;
  }
  ReentryGuard(const ReentryGuard&) = delete;
  ReentryGuard& operator=(const ReentryGuard&) = delete;
  bool Entered() const { return entered_; }

 private:
  bool& busy_;
  bool entered_;
};

}  // namespace inkra::win
