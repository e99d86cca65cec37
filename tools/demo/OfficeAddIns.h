#pragma once
// The host's side of the Office COM add-in protocol, as Word and Excel run it at start-up: every
// add-in registered under Software\Microsoft\Office\<host>\Addins of HKEY_CURRENT_USER, then of
// HKEY_LOCAL_MACHINE (an add-in installed for every user), whose
// LoadBehavior says "load at start-up" is created by its ProgID with CoCreateInstance and
// connected through IDTExtensibility2; at exit each is told of the shutdown, disconnected and
// released. An add-in that fails to load is marked not connected, as Office marks it.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "ComPtr.h"
#include "IDTExtensibility2.h"

namespace inkra::demo {

class OfficeAddIns {
 public:
  // officeApp: "Word" or "Excel"; application: the host's Application object (not owned).
  OfficeAddIns(const wchar_t* officeApp, IDispatch* application);
  ~OfficeAddIns();  // shutdown, disconnection, release
  OfficeAddIns(const OfficeAddIns&) = delete;
  OfficeAddIns& operator=(const OfficeAddIns&) = delete;

  // The ProgIDs connected, in registry order.
  const std::vector<std::wstring>& Connected() const { return progIds_; }
  // What went wrong with the others, one line each.
  const std::vector<std::wstring>& Failures() const { return failures_; }

 private:
  void Load(HKEY root, const std::wstring& addinsKey, const std::wstring& progId, IDispatch* application);

  std::vector<win::ComPtr<IDTExtensibility2>> addIns_;
  std::vector<std::wstring> progIds_, failures_;
  SAFEARRAY* custom_ = nullptr;  // the empty array Office passes as `custom`
};

}  // namespace inkra::demo
