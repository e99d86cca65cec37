// The four entry points of an in-process COM server. The class factories are not served yet:
// no class is available, and registration is refused until they are.
#include <windows.h>
#include <objbase.h>

#include "ServerState.h"

extern "C" {

HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID, void** ppv) {
  if (ppv) *ppv = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT WINAPI DllCanUnloadNow() { return inkra::addin::CanUnloadNow() ? S_OK : S_FALSE; }
HRESULT WINAPI DllRegisterServer() { return E_NOTIMPL; }
HRESULT WINAPI DllUnregisterServer() { return E_NOTIMPL; }

}
