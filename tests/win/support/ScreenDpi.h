#pragma once
// Tests at another screen resolution. Wine reads the resolution once, when a process starts, from
// the prefix's LogPixels; tests/win/at-dpi.sh sets it, starts the test program with the dpi in
// INKRA_TEST_DPI and runs the tests named AtDpi*, which skip in an ordinary run.

namespace inkra::test {

// The dpi at-dpi.sh started this process for, or 0 in an ordinary test run.
int RequestedDpi();

}  // namespace inkra::test

// Opens a test that runs only at a set dpi.
#define INKRA_ONLY_AT_REQUESTED_DPI() \
  if (::inkra::test::RequestedDpi() == 0) GTEST_SKIP() << "runs at a set dpi, from at-dpi.sh"
