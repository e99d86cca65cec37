#pragma once
// The in-process server behind the exported entry points: its class factories (in the order they
// were created at load), the type library, and registration for the machine (HKEY_CLASSES_ROOT) or
// for the current user alone (HKEY_CURRENT_USER\Software\Classes, no administrator rights needed).
#include <windows.h>

#include <span>

#include "AddInFactory.h"

namespace inkra::addin {

using FactoryList = std::span<TMSOAddInFactory* const>;

// DllGetClassObject: the factory for clsid, or CLASS_E_CLASSNOTAVAILABLE with a null output.
HRESULT GetClassObject(FactoryList factories, REFCLSID clsid, REFIID iid, void** object);

// DllRegisterServer / DllUnregisterServer: the type library, then each factory, the most recently
// created first. S_OK, or E_FAIL when a step fails.
HRESULT RegisterServer(FactoryList factories, bool Register);

// DllInstall: the command line "user" registers (or unregisters) for the current user alone, with
// HKEY_CLASSES_ROOT redirected to HKEY_CURRENT_USER\Software\Classes for the duration of the call;
// an empty command line or "machine" is the plain registration.
HRESULT InstallServer(FactoryList factories, bool install, const wchar_t* commandLine);

// The server's file name as the class key records it: the short form when the path has a blank.
std::wstring RegisteredServerPath(const std::wstring& path);

}  // namespace inkra::addin
