#pragma once
// TMSOAddInFactory: the class factory of one Office host's add-in class. It creates a new add-in
// object for every request (apartment threaded), and registers the class with COM and the add-in
// with its Office host: the host's add-in key under HKEY_CURRENT_USER makes the host load it, and
// the matching WPS Office program's white list lets WPS load it from the same key.
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
  const wchar_t* WpsApp;        // "WPS", "ET": the WPS Office program in the white list's path
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

  // Everything one registration writes, in order: the class keys for the server at serverPath,
  // then the host keys. Names and the version come from the type library. The installer's table.
  std::vector<RegistryEntry> RegistryEntries(const std::wstring& serverPath) const;
  // The class keys, then RegisterAddIn (or the class keys' removal, then UnregisterAddIn). Raises
  // on a class key or an add-in value that cannot be written, or a class key that cannot go.
  void UpdateRegistry(bool Register, const std::wstring& serverPath) const;

  // The host keys: the Office add-in key (FriendlyName, Description, LoadBehavior) and our ProgID
  // in WPS Office's white list, under HKEY_CURRENT_USER; then the class's AfterRegister. A key
  // that will not open is skipped silently; a value that cannot be written raises.
  void RegisterAddIn() const;
  // Deletes the Office add-in key with whatever is under it, and our white-list value (the list's
  // key only when left empty); then the class's AfterUnregister. A deletion that fails is
  // ignored: the host keys never stop the rest of the unregistration.
  void UnregisterAddIn() const;

 private:
  std::vector<RegistryEntry> ClassEntries(const std::wstring& serverPath) const;
  std::vector<RegistryEntry> AddInEntries() const;

  AddInClassInfo info_;
  CreateFn create_;
};

}  // namespace inkra::addin
