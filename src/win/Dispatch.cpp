#include "Dispatch.h"

#include <string>

#include "BStr.h"
#include "ComError.h"

namespace inkra::win {
namespace {

void RequireObject(IDispatch* object, const wchar_t* what) {
  if (!object) throw ComError(E_POINTER, std::wstring(what) + L": the object is Nothing");
}

// Frees the strings that a failed Invoke handed out, whatever path leaves.
struct ExcepInfoOwner {
  EXCEPINFO info{};
  ~ExcepInfoOwner() {
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
  }
};

[[noreturn]] void ThrowException(ExcepInfoOwner& exception, const wchar_t* what) {
  EXCEPINFO& e = exception.info;
  if (e.pfnDeferredFillIn) e.pfnDeferredFillIn(&e);
  HRESULT hr = FAILED(e.scode) ? e.scode : DISP_E_EXCEPTION;
  if (e.bstrDescription && *e.bstrDescription) throw ComError(hr, e.bstrDescription);
  ThrowFailure(hr, what);
}

}  // namespace

DISPID DispIdOf(IDispatch* object, const wchar_t* name, LCID locale) {
  RequireObject(object, name);
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  ThrowIfFailed(object->GetIDsOfNames(IID_NULL, names, 1, locale, &id), name);
  return id;
}

Variant InvokeDispatch(IDispatch* object, DISPID id, WORD flags, std::span<const Variant> args, LCID locale,
                       const wchar_t* what) {
  RequireObject(object, what);
  // Shallow copies: the caller's Variants own the values for the duration of the call.
  std::vector<VARIANT> reversed;
  reversed.reserve(args.size());
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->get());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = UINT(reversed.size());
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  Variant result;
  ExcepInfoOwner exception;
  UINT argError = 0;
  HRESULT hr = object->Invoke(id, IID_NULL, locale, flags, &params, result.put(), &exception.info, &argError);
  if (hr == DISP_E_EXCEPTION) ThrowException(exception, what);
  ThrowIfFailed(hr, what);
  return result;
}

void Put(IDispatch* object, const wchar_t* name, const Variant& value) {
  InvokeDispatch(object, DispIdOf(object, name), DISPATCH_PROPERTYPUT, std::span<const Variant>(&value, 1),
                 kUserDefaultLocale, name);
}

ComPtr<IDispatch> QueryDispatch(IDispatch* object, const IID& iid, const wchar_t* what) {
  RequireObject(object, what);
  ComPtr<IDispatch> typed;
  ThrowIfFailed(object->QueryInterface(iid, reinterpret_cast<void**>(typed.GetAddressOf())), what);
  return typed;
}

}  // namespace inkra::win
