#include "Variant.h"

#include <cwchar>
#include <utility>

#include "ComError.h"

namespace inkra::win {

Variant::Variant(int value) : Variant() {
  v_.vt = VT_I4;
  v_.lVal = value;
}

Variant::Variant(long value) : Variant() {
  v_.vt = VT_I4;
  v_.lVal = value;
}

Variant::Variant(bool value) : Variant() {
  v_.vt = VT_BOOL;
  v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(double value) : Variant() {
  v_.vt = VT_R8;
  v_.dblVal = value;
}

Variant::Variant(float value) : Variant() {
  v_.vt = VT_R4;
  v_.fltVal = value;
}

Variant::Variant(const wchar_t* text) : Variant(std::wstring_view(text ? text : L"")) {}

Variant::Variant(std::wstring_view text) : Variant() {
  BSTR value = ::SysAllocStringLen(text.data(), UINT(text.size()));
  if (!value) throw ComError(E_OUTOFMEMORY, L"Out of memory");
  v_.vt = VT_BSTR;
  v_.bstrVal = value;
}

Variant::Variant(IDispatch* object) : Variant() {
  v_.vt = VT_DISPATCH;
  v_.pdispVal = object;
  if (object) object->AddRef();
}

Variant Variant::BoolByRef(VARIANT_BOOL* target) {
  Variant v;
  v.v_.vt = VT_BOOL | VT_BYREF;
  v.v_.pboolVal = target;
  return v;
}

Variant Variant::CopyOf(const VARIANT& other) {
  Variant v;
  ThrowIfFailed(::VariantCopy(&v.v_, const_cast<VARIANT*>(&other)), L"VariantCopy");
  return v;
}

Variant Variant::Attach(const VARIANT& owned) {
  Variant v;
  v.v_ = owned;
  return v;
}

Variant::Variant(const Variant& other) : Variant() {
  ThrowIfFailed(::VariantCopy(&v_, const_cast<VARIANT*>(&other.v_)), L"VariantCopy");
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) *this = Variant(other);
  return *this;
}

Variant::Variant(Variant&& other) noexcept : v_(other.v_) { ::VariantInit(&other.v_); }

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    ::VariantClear(&v_);
    v_ = other.v_;
    ::VariantInit(&other.v_);
  }
  return *this;
}

VARIANT* Variant::put() {
  ::VariantClear(&v_);
  return &v_;
}

VARIANT Variant::Detach() {
  VARIANT out = v_;
  ::VariantInit(&v_);
  return out;
}

namespace {

Variant Changed(const VARIANT& v, VARTYPE to) {
  Variant out;
  ThrowIfFailed(::VariantChangeType(out.put(), const_cast<VARIANT*>(&v), 0, to), L"Variant conversion");
  return out;
}

}  // namespace

std::wstring Variant::ToString() const {
  Variant s = Changed(v_, VT_BSTR);
  BSTR b = s.get().bstrVal;
  return b ? std::wstring(b, ::SysStringLen(b)) : std::wstring();
}

int32_t Variant::ToInt32() const { return Changed(v_, VT_I4).get().lVal; }

double Variant::ToDouble() const { return Changed(v_, VT_R8).get().dblVal; }

bool Variant::ToBool() const { return Changed(v_, VT_BOOL).get().boolVal != VARIANT_FALSE; }

ComPtr<IDispatch> Variant::ToDispatch() const {
  ComPtr<IDispatch> out;
  switch (v_.vt) {
    case VT_EMPTY:
      return out;
    case VT_DISPATCH:
      out = v_.pdispVal;
      return out;
    case VT_UNKNOWN:
      if (v_.punkVal) ThrowIfFailed(v_.punkVal->QueryInterface(IID_PPV_ARGS(&out)), L"QueryInterface(IDispatch)");
      return out;
    default:
      throw ComError(DISP_E_TYPEMISMATCH, L"The value is not an object (" + VarTypeName(v_.vt) + L")");
  }
}

std::wstring VarTypeName(VARTYPE vt) {
  static const std::pair<VARTYPE, const wchar_t*> names[] = {
      {VT_EMPTY, L"VT_EMPTY"}, {VT_NULL, L"VT_NULL"},         {VT_I2, L"VT_I2"},       {VT_I4, L"VT_I4"},
      {VT_R4, L"VT_R4"},       {VT_R8, L"VT_R8"},             {VT_CY, L"VT_CY"},       {VT_DATE, L"VT_DATE"},
      {VT_BSTR, L"VT_BSTR"},   {VT_DISPATCH, L"VT_DISPATCH"}, {VT_ERROR, L"VT_ERROR"}, {VT_BOOL, L"VT_BOOL"},
      {VT_VARIANT, L"VT_VARIANT"}, {VT_UNKNOWN, L"VT_UNKNOWN"}, {VT_I1, L"VT_I1"},   {VT_UI1, L"VT_UI1"},
      {VT_UI2, L"VT_UI2"},     {VT_UI4, L"VT_UI4"},           {VT_I8, L"VT_I8"},       {VT_UI8, L"VT_UI8"},
      {VT_INT, L"VT_INT"},     {VT_UINT, L"VT_UINT"}};
  std::wstring name;
  for (auto [type, text] : names)
    if (type == (vt & VT_TYPEMASK)) name = text;
  if (name.empty()) name = L"VT_" + std::to_wstring(vt & VT_TYPEMASK);
  if (vt & VT_BYREF) name += L"|VT_BYREF";
  if (vt & VT_ARRAY) name += L"|VT_ARRAY";
  return name;
}

std::wstring Variant::Describe() const {
  std::wstring text = VarTypeName(v_.vt);
  if (v_.vt == VT_EMPTY) return text;
  if (v_.vt == VT_ERROR) {
    wchar_t code[16];
    std::swprintf(code, 16, L" 0x%08lX", static_cast<unsigned long>(v_.scode));
    return text + code;
  }
  if (v_.vt == VT_DISPATCH || v_.vt == VT_UNKNOWN) return text + (v_.punkVal ? L" object" : L" Nothing");
  if (v_.vt == (VT_BOOL | VT_BYREF)) return text + (v_.pboolVal && *v_.pboolVal ? L" true" : L" false");
  Variant s;
  if (FAILED(::VariantChangeType(s.put(), const_cast<VARIANT*>(&v_), 0, VT_BSTR))) return text;
  std::wstring value = s.get().bstrVal ? s.get().bstrVal : L"";
  return text + (v_.vt == VT_BSTR ? L" \"" + value + L"\"" : L" " + value);
}

Variant MissingArgument() {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_ERROR;
  v.scode = DISP_E_PARAMNOTFOUND;
  return Variant::Attach(v);
}

}  // namespace inkra::win
