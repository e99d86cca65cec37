#include "GdiObjects.h"

#include <windows.h>

namespace inkra::test {

long GdiObjectCount() {
  if (const DWORD answered = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return long(answered);
  long count = 0;
  for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++count;
  return count;
}

}  // namespace inkra::test
