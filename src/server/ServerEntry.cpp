// The exported entry points of the in-process COM server, over the factories made at load.
#include <windows.h>
#include <objbase.h>

#include "AddInFactories.h"
#include "ServerState.h"
#include "Window.h"

using inkra::addin::ServerFactories;

extern "C" {

// Freed by the host (not the process ending): the window classes go with the code they point to.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) inkra::win::UnregisterWindowClasses();
  return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return inkra::addin::GetClassObject(ServerFactories(), clsid, iid, object);
}

HRESULT WINAPI DllCanUnloadNow() { return inkra::addin::CanUnloadNow() ? S_OK : S_FALSE; }
HRESULT WINAPI DllRegisterServer() { return inkra::addin::RegisterServer(ServerFactories(), true); }
HRESULT WINAPI DllUnregisterServer() { return inkra::addin::RegisterServer(ServerFactories(), false); }

// regsvr32 /n /i:user (and /u /n /i:user): registration for the current user alone.
HRESULT WINAPI DllInstall(BOOL install, LPCWSTR commandLine) {
  return inkra::addin::InstallServer(ServerFactories(), install != FALSE, commandLine);
}

}
