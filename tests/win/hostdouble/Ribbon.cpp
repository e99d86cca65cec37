#include "hostdouble/Ribbon.h"

#include "BStr.h"
#include "hostdouble/CustomUiMarkup.h"
#include "hostdouble/DispatchDouble.h"
#include "hostdouble/Objects.h"
#include "hostdouble/OfficeIids.h"

namespace inkra::test::office {
namespace {

using win::BStr;
using win::ComPtr;
using win::Variant;

// Office's user default locale, which it passes to the add-in's dispatch.
constexpr LCID kUserDefaultLocale = 0x400;

// The control Office hands to a callback: Id and Tag are the button's, Context the host's
// Application. Dual, as Office's own: read through its vtable or by name.
class RibbonControlDouble final : public DispatchDouble, public published::IRibbonControl {
 public:
  RibbonControlDouble(const Context& host, const RibbonButton& button)
      : DispatchDouble(host->log, L"IRibbonControl"), id_(button.id), tag_(button.tag), context_(MakeApplication(host)) {
    Property(L"Id", published::kDispIdRibbonId, [this](const Args&) { return Variant(id_); });
    Property(L"Context", published::kDispIdRibbonContext, [this](const Args&) { return Variant(context_.Get()); });
    Property(L"Tag", published::kDispIdRibbonTag, [this](const Args&) { return Variant(tag_); });
  }

  // One IUnknown and IDispatch for both bases.
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return DispatchDouble::QueryInterface(iid, object); }
  STDMETHODIMP_(ULONG) AddRef() override { return DispatchDouble::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return DispatchDouble::Release(); }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return DispatchDouble::GetTypeInfoCount(count); }
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return DispatchDouble::GetTypeInfo(index, locale, info);
  }
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
    return DispatchDouble::GetIDsOfNames(iid, names, count, locale, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override {
    return DispatchDouble::Invoke(id, iid, locale, flags, params, result, exception, argError);
  }

  STDMETHODIMP get_Id(BSTR* id) override { return Copy(id_, id); }
  STDMETHODIMP get_Tag(BSTR* tag) override { return Copy(tag_, tag); }
  STDMETHODIMP get_Context(IDispatch** context) override {
    if (!context) return E_POINTER;
    *context = context_.Get();
    if (*context) (*context)->AddRef();
    return S_OK;
  }

 protected:
  IUnknown* QueryOther(REFIID iid) override {
    return iid == published::IID_IRibbonControl ? static_cast<published::IRibbonControl*>(this) : nullptr;
  }

 private:
  static HRESULT Copy(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), UINT(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  std::wstring id_, tag_;
  ComPtr<IDispatch> context_;
};

}  // namespace

const RibbonButton* Ribbon::Find(const std::wstring& id) const {
  for (const RibbonButton& button : buttons)
    if (button.id == id) return &button;
  return nullptr;
}

const wchar_t* MainRibbonId(HostKind kind) {
  return kind == HostKind::Excel ? published::kExcelRibbonId : published::kWordRibbonId;
}

Ribbon LoadRibbon(HostDouble& host, IUnknown* addIn, const wchar_t* ribbonId) {
  Ribbon ribbon;
  ribbon.ribbonId = ribbonId ? ribbonId : MainRibbonId(host.kind());
  ComPtr<published::IRibbonExtensibility> extensibility;
  ribbon.result = addIn->QueryInterface(published::IID_IRibbonExtensibility,
                                        reinterpret_cast<void**>(extensibility.GetAddressOf()));
  if (FAILED(ribbon.result)) return ribbon;  // an add-in of the older hosts: no ribbon of its own
  BStr id(ribbon.ribbonId), markup;
  ribbon.result = extensibility->GetCustomUI(id.get(), markup.put());
  ribbon.markup = markup.str();
  if (FAILED(ribbon.result) || ribbon.markup.empty()) return ribbon;

  std::vector<std::wstring> callbacks;
  ReadCustomUi(ribbon, callbacks);
  // Office binds each callback by name through the add-in's IDispatch.
  ComPtr<IDispatch> dispatch;
  addIn->QueryInterface(IID_PPV_ARGS(&dispatch));
  for (const std::wstring& name : callbacks) {
    DISPID dispid = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
    if (!dispatch || FAILED(dispatch->GetIDsOfNames(IID_NULL, names, 1, kUserDefaultLocale, &dispid)))
      ribbon.problems.push_back(L"the add-in has no callback \"" + name + L"\"");
  }
  return ribbon;
}

HRESULT InvokeRibbonCallback(HostDouble& host, IUnknown* addIn, const std::wstring& name, const RibbonButton& button,
                             VARIANT* result) {
  ComPtr<IDispatch> dispatch;
  HRESULT hr = addIn->QueryInterface(IID_PPV_ARGS(&dispatch));
  if (FAILED(hr)) return hr;
  DISPID dispid = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
  hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, kUserDefaultLocale, &dispid);
  if (FAILED(hr)) return hr;
  ComPtr<IDispatch> control =
      win::Adopt<IDispatch>(static_cast<DispatchDouble*>(new RibbonControlDouble(host.context(), button)));
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_DISPATCH;
  arg.pdispVal = control.Get();  // borrowed for the call, as Office lends it
  DISPPARAMS params{&arg, nullptr, 1, 0};
  EXCEPINFO exception{};
  UINT argError = 0;
  hr = dispatch->Invoke(dispid, IID_NULL, kUserDefaultLocale, DISPATCH_METHOD, &params, result, &exception, &argError);
  SysFreeString(exception.bstrSource), SysFreeString(exception.bstrDescription), SysFreeString(exception.bstrHelpFile);
  return hr;
}

HRESULT PressRibbonButton(HostDouble& host, IUnknown* addIn, const RibbonButton& button) {
  Variant ignored;
  return InvokeRibbonCallback(host, addIn, button.onAction, button, ignored.put());
}

ComPtr<IPictureDisp> RibbonButtonImage(HostDouble& host, IUnknown* addIn, const RibbonButton& button, HRESULT& hr) {
  Variant result;
  hr = InvokeRibbonCallback(host, addIn, button.getImage, button, result.put());
  if (FAILED(hr)) return nullptr;
  // Office takes the picture as an object of either kind that answers IPictureDisp.
  const VARIANT& v = result.get();
  IUnknown* object = v.vt == VT_DISPATCH ? v.pdispVal : v.vt == VT_UNKNOWN ? v.punkVal : nullptr;
  ComPtr<IPictureDisp> picture;
  hr = object ? object->QueryInterface(IID_PPV_ARGS(&picture)) : DISP_E_TYPEMISMATCH;
  return picture;
}

}  // namespace inkra::test::office
