#include "hostdouble/LiveObjects.h"

#include <windows.h>

namespace inkra::test::office {
namespace {
volatile LONG gInProcess = 0;
}  // namespace

void LiveObjects::Created() {
  ++count_;
  InterlockedIncrement(&gInProcess);
}

void LiveObjects::Destroyed() {
  --count_;
  InterlockedDecrement(&gInProcess);
}

long LiveObjects::InProcess() { return InterlockedCompareExchange(&gInProcess, 0, 0); }

}  // namespace inkra::test::office
