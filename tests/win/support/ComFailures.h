#pragma once
// What a failing COM call leaves behind: the ComError a late-bound call raised, and the error
// information a host-called method set on the thread.
#include <functional>
#include <optional>
#include <string>

#include "BStr.h"
#include "ComError.h"
#include "ComPtr.h"

namespace inkra::test {

// The ComError `call` raised, or nothing when it returned. Any other exception goes on.
inline std::optional<win::ComError> RaisedBy(const std::function<void()>& call) {
  try {
    call();
  } catch (const win::ComError& e) {
    return e;
  }
  return std::nullopt;
}

// The HRESULT of the ComError `call` raised; S_OK when it returned.
inline HRESULT FailureOf(const std::function<void()>& call) {
  const auto error = RaisedBy(call);
  return error ? error->hr() : S_OK;
}

struct ErrorInformation {
  bool present = false;
  std::wstring description, source;
  GUID guid{};
};

// Takes the thread's error information (GetErrorInfo clears it).
inline ErrorInformation TakeErrorInfo() {
  ErrorInformation out;
  win::ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, &info) != S_OK || !info) return out;
  out.present = true;
  win::BStr description, source;
  info->GetDescription(description.put());
  info->GetSource(source.put());
  info->GetGUID(&out.guid);
  out.description = description.str();
  out.source = source.str();
  return out;
}

}  // namespace inkra::test
