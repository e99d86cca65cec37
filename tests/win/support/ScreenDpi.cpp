#include "support/ScreenDpi.h"

#include <cstdlib>

namespace inkra::test {

int RequestedDpi() {
  const char* value = std::getenv("INKRA_TEST_DPI");
  return value ? std::atoi(value) : 0;
}

}  // namespace inkra::test
