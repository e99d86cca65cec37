#pragma once
// The one owner of a BSTR: move-only, freed with SysFreeString.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace inkra::win {

class BStr {
 public:
  BStr() = default;
  explicit BStr(std::wstring_view text) : value_(::SysAllocStringLen(text.data(), UINT(text.size()))) {}
  ~BStr() { ::SysFreeString(value_); }
  BStr(BStr&& other) noexcept : value_(other.release()) {}
  BStr& operator=(BStr&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  BStr(const BStr&) = delete;
  BStr& operator=(const BStr&) = delete;

  BSTR get() const { return value_; }
  // A null BSTR is the empty string.
  std::wstring str() const { return value_ ? std::wstring(value_, ::SysStringLen(value_)) : std::wstring(); }
  void reset(BSTR value = nullptr) { ::SysFreeString(std::exchange(value_, value)); }
  [[nodiscard]] BSTR release() { return std::exchange(value_, nullptr); }
  // For functions that hand out a BSTR through a pointer: the old one is freed first.
  BSTR* put() {
    reset();
    return &value_;
  }

 private:
  BSTR value_ = nullptr;
};

}  // namespace inkra::win
