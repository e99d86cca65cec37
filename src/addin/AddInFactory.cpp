#include "AddInFactory.h"

#include <oleauto.h>

#include <cstdio>

#include "ComError.h"
#include "ComPtr.h"
#include "ServerState.h"
#include "TypeLibrary.h"

namespace inkra::addin {

using win::ComPtr;
using win::ThrowIfFailed;

namespace {

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

struct BStrOwner {
  BSTR text = nullptr;
  ~BStrOwner() { SysFreeString(text); }
  std::wstring str() const { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }
};

// What the type library says of a coclass: the ProgID ("MSOAddIn.WordAddIn"), the class
// description (its help string), the library's identifier and version.
struct CoclassNames {
  std::wstring progId, description, libraryId, version;
};

CoclassNames NamesOf(const CLSID& clsid) {
  ComPtr<ITypeLib> library = OwnTypeLibrary();
  BStrOwner libraryName, className, helpString;
  ThrowIfFailed(library->GetDocumentation(-1, &libraryName.text, nullptr, nullptr, nullptr), L"Type library name");
  ComPtr<ITypeInfo> coclass;
  ThrowIfFailed(library->GetTypeInfoOfGuid(clsid, &coclass), L"GetTypeInfoOfGuid");
  ThrowIfFailed(coclass->GetDocumentation(MEMBERID_NIL, &className.text, &helpString.text, nullptr, nullptr),
                L"Coclass name");
  TLIBATTR* attr = nullptr;
  ThrowIfFailed(library->GetLibAttr(&attr), L"GetLibAttr");
  wchar_t version[16] = {};
  swprintf(version, 16, L"%d.%d", attr->wMajorVerNum, attr->wMinorVerNum);
  CoclassNames names{libraryName.str() + L"." + className.str(), helpString.str(), GuidText(attr->guid), version};
  library->ReleaseTLibAttr(attr);
  return names;
}

}  // namespace

STDMETHODIMP TMSOAddInFactory::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
  *object = static_cast<IClassFactory*>(this);
  return S_OK;
}

STDMETHODIMP TMSOAddInFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  TMSOfficeAddIn* created = nullptr;
  try {
    created = create_();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  if (!created) return E_OUTOFMEMORY;
  // The first reference is dropped after the query, so a failed query frees the object.
  ComPtr<IDTExtensibility2> first = win::Adopt<IDTExtensibility2>(created);
  return first->QueryInterface(iid, object);
}

STDMETHODIMP TMSOAddInFactory::LockServer(BOOL lock) {
  addin::LockServer(lock != FALSE);
  return S_OK;
}

std::vector<RegistryEntry> TMSOAddInFactory::ClassEntries(const std::wstring& serverPath) const {
  const CoclassNames names = NamesOf(ClassId());
  const std::wstring clsid = GuidText(ClassId());
  const std::wstring classKey = L"CLSID\\" + clsid;
  const auto cr = RegistryRoot::ClassesRoot;
  return {
      {cr, classKey, L"", names.description},
      {cr, classKey + L"\\InprocServer32", L"", serverPath},
      {cr, classKey + L"\\InprocServer32", L"ThreadingModel", std::wstring(L"Apartment")},
      {cr, names.progId, L"", names.description},
      {cr, names.progId + L"\\Clsid", L"", clsid},
      {cr, classKey + L"\\ProgID", L"", names.progId},
      {cr, classKey + L"\\Version", L"", names.version},
      {cr, classKey + L"\\TypeLib", L"", names.libraryId},
  };
}

std::vector<RegistryEntry> TMSOAddInFactory::AddInEntries() const {
  const std::wstring progId = NamesOf(ClassId()).progId;
  wchar_t officeKey[200] = {}, whiteList[100] = {};
  swprintf(officeKey, 200, L"Software\\Microsoft\\Office\\%ls\\Addins\\%ls", info_.OfficeApp, progId.c_str());
  swprintf(whiteList, 100, L"Software\\Kingsoft\\Office\\%ls\\AddinsWL", info_.WpsApp);
  const auto cu = RegistryRoot::CurrentUser;
  RegistryEntry listed{cu, whiteList, progId, std::wstring()};
  listed.skipUnopenedKey = true;
  listed.sharedKey = true;
  return {
      {cu, officeKey, L"FriendlyName", std::wstring(info_.FriendlyName), true, true},
      {cu, officeKey, L"Description", std::wstring(info_.Description), true, true},
      {cu, officeKey, L"LoadBehavior", info_.LoadBehavior, true, true},
      listed,
  };
}

std::vector<RegistryEntry> TMSOAddInFactory::RegistryEntries(const std::wstring& serverPath) const {
  std::vector<RegistryEntry> entries = ClassEntries(serverPath);
  const std::vector<RegistryEntry> addIn = AddInEntries();
  entries.insert(entries.end(), addIn.begin(), addIn.end());
  return entries;
}

void TMSOAddInFactory::RegisterAddIn() const {
  WriteEntries(AddInEntries());
  TMSOfficeAddIn::AfterRegister();
}

void TMSOAddInFactory::UnregisterAddIn() const {
  try {
    DeleteEntries(AddInEntries());
  } catch (const win::ComError&) {
    // Whatever of the host keys would not go stays; the class is unregistered all the same.
  }
  TMSOfficeAddIn::AfterUnregister();
}

void TMSOAddInFactory::UpdateRegistry(bool Register, const std::wstring& serverPath) const {
  const std::vector<RegistryEntry> entries = ClassEntries(serverPath);
  if (Register) {
    WriteEntries(entries);
    RegisterAddIn();
  } else {
    DeleteEntries(entries);
    UnregisterAddIn();
  }
}

}  // namespace inkra::addin
