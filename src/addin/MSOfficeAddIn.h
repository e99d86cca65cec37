#pragma once
// TMSOfficeAddIn: the base of every add-in object an Office host creates from this server. It keeps
// the host's Application, learns the host's name, binds the host's command bars and turns the five
// IDTExtensibility2 notifications into the overridable DoOn... operations. Its IDispatch is answered
// from the type library's information for the default interface of its coclass. It also answers
// the Office ribbon's IRibbonExtensibility, and its IDispatch answers the names of the ribbon
// callbacks that a subclass's markup names (outside the type library, whose interface stays
// member-less).
//
// Reference counting: an object is created with one reference (new (std::nothrow), query, release
// once); it counts itself among the server's live objects from construction to destruction.
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <span>
#include <string>

#include "ComError.h"
#include "ComPtr.h"
#include "IDTExtensibility2.h"
#include "RibbonExtensibility.h"
#include "Variant.h"

namespace inkra::addin {

// A callback that the add-in's ribbon markup names, as the host looks it up by name.
struct RibbonCallback {
  const wchar_t* name;
  DISPID id;
};

class TMSOfficeAddIn : public IDTExtensibility2,
                       public IRibbonExtensibility,
                       public ISupportErrorInfo,
                       public IProvideClassInfo {
 public:
  // coclass: the type library's coclass whose default interface is served through IDispatch.
  // progId: the source named in error information, for example L"MSOAddIn.WordAddIn" (static text).
  TMSOfficeAddIn(const CLSID& coclass, const wchar_t* progId);
  virtual ~TMSOfficeAddIn();
  TMSOfficeAddIn(const TMSOfficeAddIn&) = delete;
  TMSOfficeAddIn& operator=(const TMSOfficeAddIn&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;
  // IDTExtensibility2
  STDMETHODIMP OnConnection(IDispatch* Application, int ConnectMode, IDispatch* AddInInst,
                            SAFEARRAY** custom) override;
  STDMETHODIMP OnDisconnection(int RemoveMode, SAFEARRAY** custom) override;
  STDMETHODIMP OnAddInsUpdate(SAFEARRAY** custom) override;
  STDMETHODIMP OnStartupComplete(SAFEARRAY** custom) override;
  STDMETHODIMP OnBeginShutdown(SAFEARRAY** custom) override;
  // IRibbonExtensibility: the markup for RibbonID, or null when the add-in adds nothing to it.
  STDMETHODIMP GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) override;
  // ISupportErrorInfo
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;
  // IProvideClassInfo
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;

  // A property of Application by name; empty when it cannot be read.
  win::Variant GetAppProperty(const wchar_t* name);
  // Application's Name, or the fallback text when that is empty or unreadable.
  std::wstring GetHostName();
  // Fills CommandBars from Application; true when it holds the collection afterwards.
  bool BindCommandBars();

  // Called by the class factory after writing (removing) the Office add-in key. Empty.
  static void AfterRegister() {}
  static void AfterUnregister() {}

  const wchar_t* ProgId() const { return progId_; }

  // HostName when the host has no readable, non-empty Name.
  static constexpr const wchar_t* kNoHostName = L"没有找到MS Office组件！";

 protected:
  // The host notifications; each default shows a message box naming itself and returns S_OK.
  virtual HRESULT DoOnConnection(int ConnectMode, IDispatch* AddInInst, SAFEARRAY** custom);
  virtual HRESULT DoOnDisconnection(int RemoveMode, SAFEARRAY** custom);
  virtual HRESULT DoOnAddInsUpdate(SAFEARRAY** custom);
  virtual HRESULT DoOnStartupComplete(SAFEARRAY** custom);
  virtual HRESULT DoOnBeginShutdown(SAFEARRAY** custom);

  // The ribbon: the markup for a ribbon id (empty: nothing), the callbacks it names, and the call
  // of one of them with the control the host passes. The base adds nothing to any ribbon.
  virtual std::wstring DoGetCustomUI(const std::wstring& ribbonId);
  virtual std::span<const RibbonCallback> RibbonCallbacks() const { return {}; }
  virtual win::Variant DoRibbonCallback(DISPID id, IRibbonControl* control);

  // Runs a host-called body: any error becomes a failure HRESULT with error information whose
  // source is this object's ProgID.
  template <typename Body>
  HRESULT Guarded(REFIID iid, Body&& body) {
    return win::ComBoundary(progId_, iid, std::forward<Body>(body));
  }

  win::ComPtr<IDispatch> Application;  // the host's application object; may be null
  win::ComPtr<IDispatch> CommandBars;  // the host's _CommandBars; null when unbound or Outlook
  std::wstring HostName;

 private:
  IUnknown* FindInterface(REFIID iid);
  const RibbonCallback* FindCallback(DISPID id) const;
  HRESULT InvokeCallback(const RibbonCallback& callback, WORD flags, DISPPARAMS* params, VARIANT* result,
                         UINT* argError);
  ITypeInfo* ClassInfo();                      // raises on failure
  ITypeInfo* DispatchInfo(bool vtableSide);    // raises on failure

  LONG refs_ = 1;
  const CLSID coclass_;
  const wchar_t* const progId_;
  win::ComPtr<ITypeInfo> classInfo_;
  win::ComPtr<ITypeInfo> dispatchInfo_;
  win::ComPtr<ITypeInfo> vtableInfo_;
  IID defaultIid_{};
};

}  // namespace inkra::addin
