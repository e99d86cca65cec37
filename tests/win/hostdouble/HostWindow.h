#pragma once
// The host's main window: a top-level window of the host's thread, as Word's and Excel's are.
// A click on a command bar button reaches the add-in from this window's message handling, so a
// click posted here while a modal window is open arrives as the host would deliver it.
#include <windows.h>

#include <atomic>
#include <memory>

#include "hostdouble/OfficeDouble.h"

namespace inkra::test::office {

class HostWindow {
 public:
  // Shown and active at once.
  HostWindow(HostDouble& host, std::shared_ptr<ControlState> button);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND Handle() const { return window_; }
  // From any thread: queues a click on the button, fired when the window's thread handles it.
  void PostClick() const;
  // Clicks fired so far that have returned.
  int ClicksDone() const { return done_; }

 private:
  static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);

  HostDouble& host_;
  std::shared_ptr<ControlState> button_;
  std::atomic<int> done_{0};
  HWND window_ = nullptr;
};

}  // namespace inkra::test::office
