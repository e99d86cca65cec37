#pragma once
// The shell's one error path for COM: a failed HRESULT becomes a ComError, and every method that a
// host calls turns any error back into a failure HRESULT with COM error information (ComBoundary).
#include <windows.h>

#include <stdexcept>
#include <string>
#include <type_traits>

namespace inkra::win {

class ComError : public std::runtime_error {
 public:
  ComError(HRESULT hr, std::wstring description);
  HRESULT hr() const { return hr_; }
  const std::wstring& description() const { return description_; }

 private:
  HRESULT hr_;
  std::wstring description_;
};

// The system's text for an HRESULT, without the trailing line break; empty when it has none.
std::wstring SystemMessage(HRESULT hr);

// Raises a ComError for hr; the description names the failed operation and the system's text.
[[noreturn]] void ThrowFailure(HRESULT hr, const wchar_t* what);

// Raises a ComError when hr is a failure.
inline void ThrowIfFailed(HRESULT hr, const wchar_t* what) {
  if (FAILED(hr)) [[unlikely]]
    ThrowFailure(hr, what);
}

namespace detail {
// Converts the exception being handled into an HRESULT and records the thread's error
// information (description, source, interface). Called only from inside a catch block.
HRESULT ReportCurrentException(const wchar_t* source, REFIID iid) noexcept;
}  // namespace detail

// Runs the body of a host-called method. A ComError gives its own HRESULT, any other exception
// E_UNEXPECTED; either way the error information holds the message, source and interface. A body
// that returns an HRESULT has it passed through; a body returning nothing gives S_OK.
template <typename Body>
HRESULT ComBoundary(const wchar_t* source, REFIID iid, Body&& body) noexcept {
  try {
    if constexpr (std::is_same_v<std::invoke_result_t<Body>, HRESULT>) {
      return body();
    } else {
      body();
      return S_OK;
    }
  } catch (...) {
    return detail::ReportCurrentException(source, iid);
  }
}

}  // namespace inkra::win
