#pragma once
// The one VARIANT owner: cleared on destruction, deep-copied on copy, taken over on move.
#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "ComPtr.h"

namespace inkra::win {

class Variant {
 public:
  Variant() { ::VariantInit(&v_); }
  Variant(int value);            // VT_I4
  Variant(long value);           // VT_I4 (LONG)
  Variant(bool value);           // VT_BOOL: VARIANT_TRUE / VARIANT_FALSE
  Variant(double value);         // VT_R8
  Variant(float value);          // VT_R4
  Variant(const wchar_t* text);  // VT_BSTR
  Variant(std::wstring_view text);
  Variant(const std::wstring& text) : Variant(std::wstring_view(text)) {}
  Variant(IDispatch* object);  // VT_DISPATCH, AddRef'd (null is allowed: Nothing)
  // A by-reference 16-bit boolean pointing at caller-owned storage (VT_BOOL | VT_BYREF).
  static Variant BoolByRef(VARIANT_BOOL* target);
  // A deep copy of a VARIANT owned elsewhere.
  static Variant CopyOf(const VARIANT& other);
  // Takes over a VARIANT (the source must not be cleared by its former owner).
  static Variant Attach(const VARIANT& owned);

  ~Variant() { ::VariantClear(&v_); }
  Variant(const Variant& other);
  Variant& operator=(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(Variant&& other) noexcept;

  VARTYPE vt() const { return v_.vt; }
  const VARIANT& get() const { return v_; }
  VARIANT* ptr() { return &v_; }
  // For functions that fill a VARIANT: the old value is cleared first.
  VARIANT* put();
  [[nodiscard]] VARIANT Detach();

  bool IsEmpty() const { return v_.vt == VT_EMPTY; }
  // The variant of an omitted optional argument.
  bool IsMissing() const { return v_.vt == VT_ERROR && v_.scode == DISP_E_PARAMNOTFOUND; }

  // Conversions through VariantChangeType; a failure raises a ComError.
  std::wstring ToString() const;
  int32_t ToInt32() const;
  double ToDouble() const;
  bool ToBool() const;
  // VT_DISPATCH (null allowed) or VT_UNKNOWN queried for IDispatch; VT_EMPTY gives null.
  ComPtr<IDispatch> ToDispatch() const;

  // A readable form for logs and test messages: "VT_I4 1", "VT_BSTR \"text\"".
  std::wstring Describe() const;

 private:
  VARIANT v_;
};

// The variant of an omitted optional argument: VT_ERROR with DISP_E_PARAMNOTFOUND.
Variant MissingArgument();

// The name of a VARTYPE as in the headers: "VT_I4", "VT_BOOL|VT_BYREF".
std::wstring VarTypeName(VARTYPE vt);

}  // namespace inkra::win
