#pragma once
// TMSOAddInFactory: the class factory of one Office host's add-in class. It creates a new add-in
// object for every request (apartment threaded), and registers the class with COM and the add-in
// with its Office host: the host's add-in key under HKEY_CURRENT_USER makes the host load it.
//
// The factories live in static storage from load to unload: AddRef and Release do not free them,
// and only LockServer keeps the server loaded on their behalf.
#include <windows.h>
#include <unknwn.h>

#include <string>
#include <vector>

#include "MSOfficeAddIn.h"
#include "RegistryTable.h"

namespace inkra::addin {

// What one factory registers: the class and its Office host.
struct AddInClassInfo {
  const wchar_t* OfficeApp;     // "Word", "Excel": the host's name in the Office registry path
  const wchar_t* FriendlyName;  // value "FriendlyName"
  const wchar_t* Description;   // value "Description"
  DWORD LoadBehavior;           // 3: loaded at the host's start-up, connected
  const CLSID* ClassId;
};

class TMSOAddInFactory final : public IClassFactory {
 public:
  // A new add-in object with one reference.
  using CreateFn = TMSOfficeAddIn* (*)();

  TMSOAddInFactory(AddInClassInfo info, CreateFn create) : info_(info), create_(create) {}
  TMSOAddInFactory(const TMSOAddInFactory&) = delete;
  TMSOAddInFactory& operator=(const TMSOAddInFactory&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  // IClassFactory
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

  const CLSID& ClassId() const { return *info_.ClassId; }
  const AddInClassInfo& Info() const { return info_; }

  // The class keys and the Office add-in key, in registration order, for the server at
  // serverPath. Names and the version come from the type library.
  std::vector<RegistryEntry> RegistryEntries(const std::wstring& serverPath) const;
  // Writes (or deletes) the entries, then runs the class's AfterRegister (AfterUnregister).
  // Raises on a key or value that cannot be written.
  void UpdateRegistry(bool Register, const std::wstring& serverPath) const;

 private:
  AddInClassInfo info_;
  CreateFn create_;
};

}  // namespace inkra::addin
