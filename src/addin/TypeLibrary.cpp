#include "TypeLibrary.h"

#include <oleauto.h>

#include "ComError.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace inkra::addin {

using win::ComPtr;
using win::ThrowIfFailed;

HMODULE OwnModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }

std::wstring OwnModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(OwnModule(), path.data(), DWORD(path.size()));
    if (length == 0) ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()), L"GetModuleFileName");
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

ComPtr<ITypeLib> OwnTypeLibrary() {
  ComPtr<ITypeLib> library;
  ThrowIfFailed(LoadTypeLibEx(OwnModulePath().c_str(), REGKIND_NONE, &library), L"LoadTypeLibEx");
  return library;
}

ComPtr<ITypeInfo> CoclassInfo(REFCLSID coclass) {
  ComPtr<ITypeInfo> info;
  ThrowIfFailed(OwnTypeLibrary()->GetTypeInfoOfGuid(coclass, &info), L"GetTypeInfoOfGuid");
  return info;
}

ComPtr<ITypeInfo> DefaultInterfaceInfo(ITypeInfo* coclass, bool vtableSide) {
  TYPEATTR* attr = nullptr;
  ThrowIfFailed(coclass->GetTypeAttr(&attr), L"GetTypeAttr");
  UINT count = attr->cImplTypes;
  coclass->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    INT flags = 0;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags)) || !(flags & IMPLTYPEFLAG_FDEFAULT) ||
        (flags & IMPLTYPEFLAG_FSOURCE))
      continue;
    HREFTYPE ref = 0;
    ThrowIfFailed(coclass->GetRefTypeOfImplType(i, &ref), L"GetRefTypeOfImplType");
    ComPtr<ITypeInfo> info;
    ThrowIfFailed(coclass->GetRefTypeInfo(ref, &info), L"GetRefTypeInfo");
    if (!vtableSide) return info;
    // A dual interface's dispatch side refers to its vtable side as implemented type -1.
    ComPtr<ITypeInfo> vtable;
    if (SUCCEEDED(info->GetRefTypeOfImplType(UINT(-1), &ref)) && SUCCEEDED(info->GetRefTypeInfo(ref, &vtable)))
      return vtable;
    return info;
  }
  ThrowIfFailed(TYPE_E_ELEMENTNOTFOUND, L"Default interface of the coclass");
  return nullptr;
}

}  // namespace inkra::addin
