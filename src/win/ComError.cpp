#include "ComError.h"

#include <oleauto.h>

#include <cwchar>

#include "ComPtr.h"
#include "TextConvert.h"

namespace inkra::win {

ComError::ComError(HRESULT hr, std::wstring description)
    : std::runtime_error(WideToUtf8(description)), hr_(hr), description_(std::move(description)) {}

std::wstring SystemMessage(HRESULT hr) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      DWORD(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return text;
}

void ThrowFailure(HRESULT hr, const wchar_t* what) {
  wchar_t code[16];
  std::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  std::wstring text = SystemMessage(hr);
  std::wstring description = std::wstring(what) + L" failed: " + (text.empty() ? std::wstring() : text + L" ") +
                             L"(" + code + L")";
  throw ComError(hr, std::move(description));
}

namespace detail {
namespace {

void SetErrorInformation(const std::wstring& description, const wchar_t* source, REFIID iid) {
  ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(&create))) return;
  create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
  if (source) create->SetSource(const_cast<LPOLESTR>(source));
  create->SetGUID(iid);
  ComPtr<IErrorInfo> info;
  if (SUCCEEDED(create.As(&info))) SetErrorInfo(0, info.Get());
}

}  // namespace

HRESULT ReportCurrentException(const wchar_t* source, REFIID iid) noexcept {
  try {
    try {
      throw;
    } catch (const ComError& e) {
      SetErrorInformation(e.description(), source, iid);
      return FAILED(e.hr()) ? e.hr() : E_UNEXPECTED;
    } catch (const std::exception& e) {
      SetErrorInformation(Utf8ToWide(e.what()), source, iid);
      return E_UNEXPECTED;
    } catch (...) {
      SetErrorInformation(L"Unexpected error", source, iid);
      return E_UNEXPECTED;
    }
  } catch (...) {
    return E_UNEXPECTED;  // even recording the error failed (out of memory)
  }
}

}  // namespace detail
}  // namespace inkra::win
