#pragma once
// Late binding: properties and methods of an automation object by name, or by a fixed dispatch
// identifier. Positional arguments are given in call order and land last-first in DISPPARAMS, as
// IDispatch::Invoke expects. A failure raises a ComError carrying the failing HRESULT (for
// DISP_E_EXCEPTION, the exception's own code and description).
//
//   Variant count = Get(bars, L"Count");
//   Variant bar = Get(bars, L"Item", 3);
//   Put(button, L"Caption", L"text");
//   Variant shape = Call(shapes, L"AddPicture", file, false, true, 100, 100, 300.0, 225.0, MissingArgument());
#include <windows.h>
#include <oleauto.h>

#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "Variant.h"

namespace inkra::win {

// The user default locale, which late-bound calls pass unless told otherwise.
inline constexpr LCID kUserDefaultLocale = LOCALE_USER_DEFAULT;  // 0x400

// GetIDsOfNames for one name.
DISPID DispIdOf(IDispatch* object, const wchar_t* name, LCID locale = kUserDefaultLocale);

// IDispatch::Invoke with the arguments in call order; `what` names the member in error messages.
// DISPATCH_PROPERTYPUT passes the single argument as the named DISPID_PROPERTYPUT argument.
Variant InvokeDispatch(IDispatch* object, DISPID id, WORD flags, std::span<const Variant> args, LCID locale,
                       const wchar_t* what);

template <typename... Args>
Variant CallById(IDispatch* object, DISPID id, WORD flags, Args&&... args) {
  const Variant list[] = {Variant(), Variant(std::forward<Args>(args))...};
  const std::wstring what = L"dispatch id " + std::to_wstring(id);
  return InvokeDispatch(object, id, flags, std::span<const Variant>(list).subspan(1), kUserDefaultLocale,
                        what.c_str());
}

// Property get, with arguments for indexed properties such as Item.
template <typename... Args>
Variant Get(IDispatch* object, const wchar_t* name, Args&&... args) {
  const Variant list[] = {Variant(), Variant(std::forward<Args>(args))...};
  return InvokeDispatch(object, DispIdOf(object, name), DISPATCH_PROPERTYGET,
                        std::span<const Variant>(list).subspan(1), kUserDefaultLocale, name);
}

void Put(IDispatch* object, const wchar_t* name, const Variant& value);

// object queried for another dispatch interface (a host's _Application, a _Worksheet, ...); raises
// when object is Nothing or lacks the interface.
ComPtr<IDispatch> QueryDispatch(IDispatch* object, const IID& iid, const wchar_t* what);

// A method call whose result may be used (DISPATCH_METHOD | DISPATCH_PROPERTYGET, as Visual Basic
// calls), under the user default locale or a given one.
template <typename... Args>
Variant CallWithLocale(IDispatch* object, const wchar_t* name, LCID locale, Args&&... args) {
  const Variant list[] = {Variant(), Variant(std::forward<Args>(args))...};
  return InvokeDispatch(object, DispIdOf(object, name, locale), DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                        std::span<const Variant>(list).subspan(1), locale, name);
}

template <typename... Args>
Variant Call(IDispatch* object, const wchar_t* name, Args&&... args) {
  return CallWithLocale(object, name, kUserDefaultLocale, std::forward<Args>(args)...);
}

}  // namespace inkra::win
