#pragma once
// Tests at another screen resolution. Wine reads the resolution once, when a process starts, from
// the prefix's HKEY_CURRENT_USER\Control Panel\Desktop\LogPixels; so a test sets it, runs the
// checks in a child process of the same test program, and puts the value back.
#include <string>

namespace inkra::test {

// The dpi this process was started for by RunAtDpi, or 0 in an ordinary test run.
int RequestedDpi();

// Runs the tests matching `gtestFilter` in a child process started at `dpi` (RequestedDpi() gives
// it there); the child's exit code (0: all passed). The child's output goes to this test's.
unsigned long RunAtDpi(int dpi, const std::string& gtestFilter);

}  // namespace inkra::test

// Opens a test that runs only in a child started by RunAtDpi.
#define INKRA_ONLY_AT_REQUESTED_DPI() \
  if (::inkra::test::RequestedDpi() == 0) GTEST_SKIP() << "runs in a child process at a set dpi"
