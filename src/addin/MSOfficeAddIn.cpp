#include "MSOfficeAddIn.h"

#include <oleauto.h>

#include "Dispatch.h"
#include "OfficeIds.h"
#include "ServerState.h"
#include "ShowMessage.h"
#include "TypeLibrary.h"

namespace inkra::addin {

using win::ComPtr;
using win::ThrowIfFailed;
using win::Variant;

namespace {
constexpr LCID kUserDefaultLocale = 0x400;

HRESULT ShowDefault(const wchar_t* text) {
  win::ShowMessage(nullptr, text, L"Message", MB_OK);
  return S_OK;
}
}  // namespace

TMSOfficeAddIn::TMSOfficeAddIn(const CLSID& coclass, const wchar_t* progId) : coclass_(coclass), progId_(progId) {
  ObjectCreated();
}

TMSOfficeAddIn::~TMSOfficeAddIn() { ObjectDestroyed(); }

// --- IUnknown ------------------------------------------------------------------------------------

IUnknown* TMSOfficeAddIn::FindInterface(REFIID iid) {
  IDispatch* dispatch = static_cast<IDTExtensibility2*>(this);
  const struct {
    const IID& iid;
    IUnknown* pointer;
  } table[] = {
      {IID_IUnknown, dispatch},
      {IID_IDispatch, dispatch},
      {__uuidof(IDTExtensibility2), static_cast<IDTExtensibility2*>(this)},
      {IID_ISupportErrorInfo, static_cast<ISupportErrorInfo*>(this)},
      {IID_IProvideClassInfo, static_cast<IProvideClassInfo*>(this)},
  };
  for (const auto& entry : table)
    if (entry.iid == iid) return entry.pointer;
  // The default interface (IWordAddIn, ...) has no members of its own: its vtable is IDispatch's.
  // Its identifier comes from the type library, read only when a query gets this far, so that the
  // host's start-up (creation, IDTExtensibility2, connection) does not wait for it.
  if (defaultIid_ == GUID_NULL) {
    try {
      DispatchInfo(false);
    } catch (...) {
      return nullptr;  // without type information the object still answers its other interfaces
    }
  }
  return iid == defaultIid_ ? dispatch : nullptr;
}

STDMETHODIMP TMSOfficeAddIn::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  IUnknown* found = FindInterface(iid);
  *object = found;
  if (!found) return E_NOINTERFACE;
  found->AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TMSOfficeAddIn::AddRef() { return ULONG(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) TMSOfficeAddIn::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return ULONG(left);
}

// --- Type information ------------------------------------------------------------------------------

ITypeInfo* TMSOfficeAddIn::ClassInfo() {
  if (!classInfo_) classInfo_ = CoclassInfo(coclass_);
  return classInfo_.Get();
}

ITypeInfo* TMSOfficeAddIn::DispatchInfo(bool vtableSide) {
  if (!dispatchInfo_) {
    ComPtr<ITypeInfo> dispatch = DefaultInterfaceInfo(ClassInfo(), false);
    ComPtr<ITypeInfo> vtable = DefaultInterfaceInfo(ClassInfo(), true);
    TYPEATTR* attr = nullptr;
    ThrowIfFailed(dispatch->GetTypeAttr(&attr), L"GetTypeAttr");
    defaultIid_ = attr->guid;
    dispatch->ReleaseTypeAttr(attr);
    dispatchInfo_ = dispatch;
    vtableInfo_ = vtable;
  }
  return vtableSide ? vtableInfo_.Get() : dispatchInfo_.Get();
}

STDMETHODIMP TMSOfficeAddIn::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP TMSOfficeAddIn::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return Guarded(IID_IDispatch, [&] {
    *info = DispatchInfo(false);
    (*info)->AddRef();
  });
}

STDMETHODIMP TMSOfficeAddIn::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  return Guarded(IID_IDispatch, [&] { return DispGetIDsOfNames(DispatchInfo(true), names, count, ids); });
}

STDMETHODIMP TMSOfficeAddIn::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                    EXCEPINFO* exception, UINT* argError) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  return Guarded(IID_IDispatch, [&] {
    IDispatch* self = static_cast<IDTExtensibility2*>(this);
    return DispInvoke(self, DispatchInfo(true), id, flags, params, result, exception, argError);
  });
}

STDMETHODIMP TMSOfficeAddIn::InterfaceSupportsErrorInfo(REFIID iid) { return FindInterface(iid) ? S_OK : S_FALSE; }

STDMETHODIMP TMSOfficeAddIn::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  return Guarded(IID_IProvideClassInfo, [&] {
    *info = ClassInfo();
    (*info)->AddRef();
  });
}

// --- IDTExtensibility2 -----------------------------------------------------------------------------

STDMETHODIMP TMSOfficeAddIn::OnConnection(IDispatch* application, int ConnectMode, IDispatch* AddInInst,
                                          SAFEARRAY** custom) {
  return Guarded(__uuidof(IDTExtensibility2), [&] {
    Application = application;
    HostName = GetHostName();
    if (HostName != L"Outlook" && !BindCommandBars())
      win::ShowMessage(nullptr, L"Failed to bind to MS Office application command bars!", nullptr, MB_OK);
    ThrowIfFailed(DoOnConnection(ConnectMode, AddInInst, custom), L"DoOnConnection");
  });
}

STDMETHODIMP TMSOfficeAddIn::OnDisconnection(int RemoveMode, SAFEARRAY** custom) {
  return Guarded(__uuidof(IDTExtensibility2),
                 [&] { ThrowIfFailed(DoOnDisconnection(RemoveMode, custom), L"DoOnDisconnection"); });
}

STDMETHODIMP TMSOfficeAddIn::OnAddInsUpdate(SAFEARRAY** custom) {
  return Guarded(__uuidof(IDTExtensibility2),
                 [&] { ThrowIfFailed(DoOnAddInsUpdate(custom), L"DoOnAddInsUpdate"); });
}

STDMETHODIMP TMSOfficeAddIn::OnStartupComplete(SAFEARRAY** custom) {
  return Guarded(__uuidof(IDTExtensibility2),
                 [&] { ThrowIfFailed(DoOnStartupComplete(custom), L"DoOnStartupComplete"); });
}

STDMETHODIMP TMSOfficeAddIn::OnBeginShutdown(SAFEARRAY** custom) {
  return Guarded(__uuidof(IDTExtensibility2),
                 [&] { ThrowIfFailed(DoOnBeginShutdown(custom), L"DoOnBeginShutdown"); });
}

HRESULT TMSOfficeAddIn::DoOnConnection(int, IDispatch*, SAFEARRAY**) {
  return ShowDefault(L"TMSOfficeAddIn.DoOnConnection");
}
HRESULT TMSOfficeAddIn::DoOnDisconnection(int, SAFEARRAY**) { return ShowDefault(L"TMSOfficeAddIn.DoOnDisconnection"); }
HRESULT TMSOfficeAddIn::DoOnAddInsUpdate(SAFEARRAY**) { return ShowDefault(L"TMSOfficeAddIn.DoOnAddInsUpdate"); }
HRESULT TMSOfficeAddIn::DoOnStartupComplete(SAFEARRAY**) {
  return ShowDefault(L"TMSOfficeAddIn.DoOnStartupComplete");
}
HRESULT TMSOfficeAddIn::DoOnBeginShutdown(SAFEARRAY**) { return ShowDefault(L"TMSOfficeAddIn.DoOnBeginShutdown"); }

// --- Host properties -------------------------------------------------------------------------------

Variant TMSOfficeAddIn::GetAppProperty(const wchar_t* name) {
  Variant result;
  try {
    if (!Application) ThrowIfFailed(E_POINTER, L"Application");
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    ThrowIfFailed(Application->GetIDsOfNames(IID_NULL, names, 1, kUserDefaultLocale, &id), name);
    DISPPARAMS none{};
    ThrowIfFailed(Application->Invoke(id, IID_NULL, kUserDefaultLocale, DISPATCH_PROPERTYGET, &none, result.put(),
                                      nullptr, nullptr),
                  name);
  } catch (const win::ComError&) {
    result = Variant();  // an unreadable property reads as empty
  }
  return result;
}

std::wstring TMSOfficeAddIn::GetHostName() {
  std::wstring name;
  try {
    name = GetAppProperty(L"Name").ToString();
  } catch (const win::ComError&) {
    name.clear();  // a Name that is no text counts as none
  }
  return name.empty() ? kNoHostName : name;
}

bool TMSOfficeAddIn::BindCommandBars() {
  try {
    ComPtr<IDispatch> bars = GetAppProperty(L"CommandBars").ToDispatch();
    CommandBars = win::QueryDispatch(bars.Get(), office::IID__CommandBars, L"_CommandBars");
  } catch (const win::ComError&) {
    CommandBars.Reset();
  }
  return CommandBars != nullptr;
}

}  // namespace inkra::addin
