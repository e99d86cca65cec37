// The ribbon's side of TMSOfficeAddIn: GetCustomUI, and the callbacks that Office calls through the
// add-in's IDispatch by the names the markup gives them. They stay outside the type library: the
// host finds them with GetIDsOfNames and calls them with Invoke, one IRibbonControl argument each.
#include "MSOfficeAddIn.h"

#include "BStr.h"

namespace inkra::addin {

using win::ComPtr;
using win::Variant;

namespace {

// Invoke's rules for a callback: a method of exactly one positional argument.
HRESULT CheckOneArgument(WORD flags, const DISPPARAMS& params) {
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  if (params.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
  return S_OK;
}

// The argument itself, through one level of reference.
const VARIANT& Dereferenced(const VARIANT& arg) {
  return arg.vt == (VT_VARIANT | VT_BYREF) && arg.pvarVal ? *arg.pvarVal : arg;
}

}  // namespace

std::wstring TMSOfficeAddIn::DoGetCustomUI(const std::wstring&) { return {}; }

Variant TMSOfficeAddIn::DoRibbonCallback(DISPID, IRibbonControl*) { return Variant(); }

STDMETHODIMP TMSOfficeAddIn::GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) {
  if (!RibbonXml) return E_POINTER;
  *RibbonXml = nullptr;
  return Guarded(__uuidof(IRibbonExtensibility), [&] {
    const std::wstring markup = DoGetCustomUI(RibbonID ? std::wstring(RibbonID, SysStringLen(RibbonID)) : L"");
    // No markup is a null string: the host then adds nothing to that ribbon.
    if (!markup.empty()) {
      win::BStr text(markup);
      if (!text.get()) win::ThrowFailure(E_OUTOFMEMORY, L"GetCustomUI");
      *RibbonXml = text.release();
    }
  });
}

const RibbonCallback* TMSOfficeAddIn::FindCallback(DISPID id) const {
  for (const RibbonCallback& callback : RibbonCallbacks())
    if (callback.id == id) return &callback;
  return nullptr;
}

HRESULT TMSOfficeAddIn::InvokeCallback(const RibbonCallback& callback, WORD flags, DISPPARAMS* params,
                                       VARIANT* result, UINT* argError) {
  if (HRESULT hr = CheckOneArgument(flags, *params); FAILED(hr)) return hr;
  // The one argument is the control the callback is for; anything else is refused before it runs.
  const VARIANT& arg = Dereferenced(params->rgvarg[0]);
  ComPtr<IRibbonControl> control;
  IUnknown* object = arg.vt == VT_DISPATCH ? arg.pdispVal : arg.vt == VT_UNKNOWN ? arg.punkVal : nullptr;
  if (!object || FAILED(object->QueryInterface(IID_PPV_ARGS(&control)))) {
    if (argError) *argError = 0;
    return DISP_E_TYPEMISMATCH;
  }
  return Guarded(IID_IDispatch, [&] {
    Variant value = DoRibbonCallback(callback.id, control.Get());
    if (result) *result = value.Detach();
  });
}

}  // namespace inkra::addin
