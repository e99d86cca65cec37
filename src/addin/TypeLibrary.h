#pragma once
// The server's type library, resource TYPELIB 1 of the module that contains this code: the DLL in
// production (never the host's executable), the test executable in the Windows tests.
#include <windows.h>
#include <oaidl.h>

#include <string>

#include "ComPtr.h"

namespace inkra::addin {

// Full path of the module that contains this code.
std::wstring OwnModulePath();
HMODULE OwnModule();

// Each raises a ComError on failure.
win::ComPtr<ITypeLib> OwnTypeLibrary();
win::ComPtr<ITypeInfo> CoclassInfo(REFCLSID coclass);
// The coclass's default interface: its dispatch side, or with vtableSide its interface side.
win::ComPtr<ITypeInfo> DefaultInterfaceInfo(ITypeInfo* coclass, bool vtableSide = false);

}  // namespace inkra::addin
