#pragma once
// The built DLL loaded by path, as Office loads it, and add-ins made by its factories and
// connected to a host double that holds an open document or workbook.
#include <windows.h>

#include "ComPtr.h"
#include "Handle.h"
#include "IDTExtensibility2.h"
#include "hostdouble/OfficeDouble.h"

namespace inkra::test {

class AddInDll {
 public:
  // Loads the DLL; Loaded() says whether it and its entry points were found.
  AddInDll();
  bool Loaded() const { return getClassObject_ && canUnloadNow_; }

  // An add-in of the host's kind, made by the DLL's factory, not connected; throws when a step
  // of that fails.
  win::ComPtr<IDTExtensibility2> Create(office::HostKind kind) const;
  // The same, connected, with a document or workbook opened after; throws when a step fails.
  win::ComPtr<IDTExtensibility2> Connect(office::HostDouble& host) const;
  HRESULT CanUnloadNow() const { return canUnloadNow_(); }

  // The shapes of the document or worksheet Connect opened.
  static office::ShapesState& Shapes(office::HostDouble& host);

 private:
  using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  using CanUnloadNowFn = HRESULT(WINAPI*)();
  win::UniqueModule dll_;
  GetClassObjectFn getClassObject_ = nullptr;
  CanUnloadNowFn canUnloadNow_ = nullptr;
};

}  // namespace inkra::test
