#include "ComServer.h"

#include <oleauto.h>

#include "ComError.h"
#include "Handle.h"
#include "TypeLibrary.h"

namespace inkra::addin {

using win::ComPtr;
using win::ThrowIfFailed;
using win::UniqueKey;

// Exported by oleaut32 (Vista and later, and Wine) but not declared by the toolchain's headers.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* fullPath, OLECHAR* helpDir);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libraryId, WORD major, WORD minor, LCID lcid, SYSKIND syskind);
}

namespace {

// Where the type library goes: the machine's classes, or the current user's. RegisterTypeLib
// writes under HKEY_LOCAL_MACHINE whatever HKEY_CLASSES_ROOT is redirected to, so the per-user
// form needs the functions made for it: otherwise a standard user cannot register at all, and an
// administrator's per-user registration leaves a machine-wide library that its undo never removes.
enum class Scope { Machine, User };

void RegisterTypeLibrary(const std::wstring& path, Scope scope) {
  ComPtr<ITypeLib> library = OwnTypeLibrary();
  std::wstring fullPath = path;  // the API takes a writable string
  if (scope == Scope::User)
    ThrowIfFailed(RegisterTypeLibForUser(library.Get(), fullPath.data(), nullptr), L"RegisterTypeLibForUser");
  else
    ThrowIfFailed(RegisterTypeLib(library.Get(), fullPath.data(), nullptr), L"RegisterTypeLib");
}

// A library that is no longer registered is left alone, as a key already gone is.
void UnregisterTypeLibrary(Scope scope) {
  ComPtr<ITypeLib> library = OwnTypeLibrary();
  TLIBATTR* attr = nullptr;
  ThrowIfFailed(library->GetLibAttr(&attr), L"GetLibAttr");
  const TLIBATTR lib = *attr;
  library->ReleaseTLibAttr(attr);
  wchar_t key[80] = {};
  wchar_t guid[40] = {};
  StringFromGUID2(lib.guid, guid, 40);
  swprintf(key, 80, L"TypeLib\\%ls\\%x.%x", guid, lib.wMajorVerNum, lib.wMinorVerNum);
  UniqueKey registered;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_READ, registered.put()) != ERROR_SUCCESS) return;
  registered.reset();
  if (scope == Scope::User)
    ThrowIfFailed(UnRegisterTypeLibForUser(lib.guid, lib.wMajorVerNum, lib.wMinorVerNum, lib.lcid, lib.syskind),
                  L"UnRegisterTypeLibForUser");
  else
    ThrowIfFailed(UnRegisterTypeLib(lib.guid, lib.wMajorVerNum, lib.wMinorVerNum, lib.lcid, lib.syskind),
                  L"UnRegisterTypeLib");
}

bool SameText(const wchar_t* a, const wchar_t* b) { return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL; }

// HKEY_CLASSES_ROOT means HKEY_CURRENT_USER\Software\Classes while this lives.
class PerUserClasses {
 public:
  PerUserClasses() {
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, classes_.put(), nullptr);
    if (status == ERROR_SUCCESS) status = RegOverridePredefKey(HKEY_CLASSES_ROOT, classes_.get());
    if (status != ERROR_SUCCESS)
      win::ThrowFailure(HRESULT_FROM_WIN32(DWORD(status)), L"HKEY_CURRENT_USER\\Software\\Classes");
  }
  ~PerUserClasses() { RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr); }
  PerUserClasses(const PerUserClasses&) = delete;
  PerUserClasses& operator=(const PerUserClasses&) = delete;

 private:
  UniqueKey classes_;
};

HRESULT UpdateServer(FactoryList factories, bool Register, Scope scope) {
  try {
    const std::wstring path = OwnModulePath();
    if (Register) RegisterTypeLibrary(path, scope);
    else UnregisterTypeLibrary(scope);
    const std::wstring serverPath = RegisteredServerPath(path);
    for (auto factory = factories.rbegin(); factory != factories.rend(); ++factory)
      (*factory)->UpdateRegistry(Register, serverPath);
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace

HRESULT GetClassObject(FactoryList factories, REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  for (TMSOAddInFactory* factory : factories)
    if (factory->ClassId() == clsid) return factory->QueryInterface(iid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

std::wstring RegisteredServerPath(const std::wstring& path) {
  if (path.find(L' ') == std::wstring::npos) return path;
  std::wstring shortPath(path.size() + 1, L'\0');
  DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), DWORD(shortPath.size()));
  if (length > shortPath.size()) {
    shortPath.resize(length);
    length = GetShortPathNameW(path.c_str(), shortPath.data(), length);
  }
  // A volume without short names keeps the long path; COM reads it unquoted all the same.
  if (length == 0 || length >= shortPath.size()) return path;
  shortPath.resize(length);
  return shortPath;
}

HRESULT RegisterServer(FactoryList factories, bool Register) {
  return UpdateServer(factories, Register, Scope::Machine);
}

HRESULT InstallServer(FactoryList factories, bool install, const wchar_t* commandLine) {
  const wchar_t* scope = commandLine ? commandLine : L"";
  if (*scope == L'\0' || SameText(scope, L"machine")) return RegisterServer(factories, install);
  if (!SameText(scope, L"user")) return E_INVALIDARG;
  try {
    PerUserClasses redirect;
    return UpdateServer(factories, install, Scope::User);
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace inkra::addin
