#include "ServerState.h"

#include <windows.h>

namespace inkra::addin {
namespace {
volatile LONG gObjects = 0;
volatile LONG gLocks = 0;
}  // namespace

void ObjectCreated() { InterlockedIncrement(&gObjects); }
void ObjectDestroyed() { InterlockedDecrement(&gObjects); }
long LiveObjects() { return InterlockedCompareExchange(&gObjects, 0, 0); }

void LockServer(bool lock) {
  if (lock) InterlockedIncrement(&gLocks);
  else InterlockedDecrement(&gLocks);
}
long ServerLocks() { return InterlockedCompareExchange(&gLocks, 0, 0); }

bool CanUnloadNow() { return LiveObjects() == 0 && ServerLocks() == 0; }

}  // namespace inkra::addin
