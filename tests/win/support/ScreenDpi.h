#pragma once
// Tests at another screen resolution. Wine reads the resolution once, when a process starts, from
// the prefix's LogPixels; tests/win/at-dpi.sh sets it, starts the test program with the dpi in
// INKRA_TEST_DPI and runs the tests named AtDpi*, which skip in an ordinary run.
#include <windows.h>

namespace inkra::test {

// The dpi at-dpi.sh started this process for, or 0 in an ordinary test run.
int RequestedDpi();

// The calling thread in a DPI awareness context (Windows 10's values: -1 unaware, -3 per-monitor
// aware) for the object's lifetime, as a host's thread may be; then back to what it was.
class ThreadDpiAwareness {
 public:
  explicit ThreadDpiAwareness(INT_PTR context);
  ~ThreadDpiAwareness();
  ThreadDpiAwareness(const ThreadDpiAwareness&) = delete;
  ThreadDpiAwareness& operator=(const ThreadDpiAwareness&) = delete;
  bool Taken() const { return previous_ != nullptr; }  // false where threads have no awareness

 private:
  HANDLE previous_ = nullptr;
};

// A child window's rectangle in its parent's client coordinates.
RECT RectIn(HWND parent, HWND child);
// A control's font height as CreateFont takes it (negative: character height).
LONG FontHeight(HWND control);

}  // namespace inkra::test

// Opens a test that runs only at a set dpi.
#define INKRA_ONLY_AT_REQUESTED_DPI() \
  if (::inkra::test::RequestedDpi() == 0) GTEST_SKIP() << "runs at a set dpi, from at-dpi.sh"
